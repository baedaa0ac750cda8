// Placeholder entry point until the main window lands.
#include <cstdio>
int main()
{
  std::puts("Lumora 2");
  return 0;
}
