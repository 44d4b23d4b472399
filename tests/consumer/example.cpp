#include <iostream>

#include <geomFeature/Version.h>
#include <geomFeature/io/DxfReader.h>
#include <geomFeature/persist/PartFile.h>
#include <geomFeature/processor/ImportPipeline.h>

int main(int argc, char** argv) {
    using namespace Norvane;
    const DxfReader::Result read = DxfReader::Read(argc > 1 ? argv[1] : "part.dxf");
    if (!read.Ok()) {
        std::cerr << read.message << "\n";
        return 1;
    }
    ImportReport report;
    const Part part = ImportPipeline::Run(read.patterns, ImportOptions(), report);
    std::cout << "geomFeature " << kGeomFeatureVersion << ": " << part.patterns->size() << " patterns, "
              << part.loops->size() << " loops, " << report.shapesRecognised << " standard shapes\n";
    return PartFile::Save("part.db", part.patterns, part.loops).IsOk() ? 0 : 1;
}
