#include <iostream>

#include "app/script/HeadlessSession.h"

// The window front-end is a separate build option; this entry point runs the tool headless.
int main(int argc, char** argv) {
  return qx::script::RunCommandLine(argc, argv, std::cin, std::cout, std::cerr);
}
