# Sanitizers for the whole build, applied globally so that the simulator, the test libraries
# and the tests are instrumented alike: QXTOOL_SANITIZE for ASan + UBSan, QXTOOL_SANITIZE_THREAD
# for ThreadSanitizer (the serial port's receive thread against the window thread).
if(QXTOOL_SANITIZE AND QXTOOL_SANITIZE_THREAD)
  message(FATAL_ERROR "QXTOOL_SANITIZE and QXTOOL_SANITIZE_THREAD exclude each other")
endif()
if(QXTOOL_SANITIZE)
  set(QX_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${QX_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()
if(QXTOOL_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
