// grelmond-snapshot [--program N] [--bank FILE] [--scale F] OUT.png
// Writes a picture of the plug-in's editor window as it would appear.
#include "EditorSnapshot.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
void usage()
{
    std::fputs("usage: grelmond-snapshot [--program N] [--bank FILE] [--scale F] OUT.png\n"
               "  --program N   show program N (1-64; default 1)\n"
               "  --scale F     draw the editor at F times its size (1 to 2; default 1)\n"
               "  --bank FILE   load this bank first instead of the default bank\n",
               stderr);
}

bool parseProgram(const std::string& text, int& program)
{
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || n < 1 || n > 64)
        return false;
    program = int(n);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    snapshot::SnapshotRequest request;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--program" && hasValue) {
            if (!parseProgram(argv[++i], request.program)) {
                std::fprintf(stderr, "grelmond-snapshot: the program must be 1 to 64\n");
                return 2;
            }
        } else if (arg == "--scale" && hasValue) {
            char* end = nullptr;
            request.scale = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(request.scale >= 1.0 && request.scale <= 2.0)) {
                std::fprintf(stderr, "grelmond-snapshot: the scale must be 1 to 2\n");
                return 2;
            }
        } else if (arg == "--bank" && hasValue) {
            request.bankPath = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && request.outPath.empty()) {
            request.outPath = arg;
        } else {
            usage();
            return 2;
        }
    }
    if (request.outPath.empty()) {
        usage();
        return 2;
    }
    std::string error;
    const bool written = snapshot::writeEditorSnapshot(request, error);
    // Drop cairo's and fontconfig's caches so leak checkers see a clean exit.
    cairo_debug_reset_static_data();
    FcFini();
    if (!written) {
        std::fprintf(stderr, "grelmond-snapshot: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
