// The executable's entry point: the viewer takes no command line.
#include "app/viewer.h"

int main() { return ViewerMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOW); }
