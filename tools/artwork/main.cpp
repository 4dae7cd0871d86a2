// artwork OUTDIR [--scale 1|2] [--preview FILE.png]
// Draws the editor's bitmaps into OUTDIR as <id>.bmp (24-bit, uncompressed),
// at twice the size and density with --scale 2 (the set in resources/2x).
// The output depends only on this program and the installed fonts, so the
// committed resources can be checked against a fresh run.

#include "ArtworkSet.h"
#include "BmpFile.h"
#include "Preview.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
// Drops cairo's and fontconfig's caches so leak checkers see a clean exit.
int finish(int status) {
    cairo_debug_reset_static_data();
    FcFini();
    return status;
}

int run(int argc, char** argv) {
    std::string outDir;
    std::string preview;
    int scale = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) preview = argv[++i];
        else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) scale = std::atoi(argv[++i]);
        else if (outDir.empty() && argv[i][0] != '-') outDir = argv[i];
        else {
            std::fprintf(stderr, "usage: artwork OUTDIR [--scale 1|2] [--preview FILE.png]\n");
            return 2;
        }
    }
    if (outDir.empty() || scale < 1 || scale > 2) {
        std::fprintf(stderr, "usage: artwork OUTDIR [--scale 1|2] [--preview FILE.png]\n");
        return 2;
    }
    for (const artwork::Resource& r : artwork::editorResources()) {
        const std::string path = outDir + "/" + std::to_string(r.id) + ".bmp";
        if (!artwork::writeBmp(*artwork::render(r, scale), path)) {
            std::fprintf(stderr, "artwork: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (!preview.empty() && !artwork::writePreview(preview)) {
        std::fprintf(stderr, "artwork: cannot write %s\n", preview.c_str());
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) { return finish(run(argc, argv)); }
