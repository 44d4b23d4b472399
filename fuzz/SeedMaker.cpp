// Makes the part loader's seed corpus: imports each DXF file given and writes its part database as
// PartRows text into the output folder.
//     gf_fuzz_seeds OUT_DIR FILE.dxf...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <boost/make_shared.hpp>

#include "fuzz/PartRows.h"
#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "io/DxfReader.h"

using namespace Norvane;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: gf_fuzz_seeds OUT_DIR FILE.dxf...\n");
        return 64;
    }
    const std::filesystem::path out(argv[1]);
    std::filesystem::create_directories(out);
    int made = 0;
    for (int i = 2; i < argc; ++i) {
        DxfReader::Options options;
        options.maxPatterns = 20000;
        const DxfReader::Result read = DxfReader::Read(argv[i], options);
        if (!read.Ok()) {
            continue;
        }
        ImportReport report;
        const Part part = ImportPipeline::Run(read.patterns, ImportOptions(), report);
        const auto db = boost::make_shared<DBConnect>(":memory:");
        if (!PartFile::Save(db, part.patterns, part.loops).IsOk()) {
            continue;
        }
        std::ofstream(out / (std::filesystem::path(argv[i]).stem().string() + ".rows"))
            << PartRows::Dump(*db);
        ++made;
    }
    std::printf("%d seeds in %s\n", made, out.c_str());
    return 0;
}
