# ASan + UBSan for the whole build when QXTOOL_SANITIZE is on. Applied globally so that
# the simulator, the test libraries and the tests are instrumented alike.
if(QXTOOL_SANITIZE)
  set(QX_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${QX_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()
