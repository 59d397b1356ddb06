#include <cstdio>

int main() {
  std::puts("QX-4400x8800M-RLNK Control Tool  Ver 0.18");
  return 0;
}
