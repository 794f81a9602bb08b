// The executable's entry point: the options, then the viewer.
#include "app/command_line.h"
#include "app/viewer.h"

int main(int argc, char** argv) {
    const int status = HandleCommandLine(argc, argv, stdout, stderr);
    if (status >= 0) return status;
    return ViewerMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOW);
}
