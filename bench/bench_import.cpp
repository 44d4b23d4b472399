// Times a whole import of one generated plate, stage by stage, against reading the same file with dxflib
// alone, and checks the result against the generator's manifest.
//
//   bench_import PLATE.dxf [PLATE.json] [--repeat N]
//
// Steps, each timed (wall clock and processor time):
//   read-alone  dxflib parses the file into a handler that only counts entities (the floor: no import can
//               be faster than reading its file);
//   read        the project's DXF reader makes the patterns;
//   the stages of ImportPipeline (merge, tiny, loops, orient, recognise, nesting);
//   save        the part file is written (to a temporary file, removed afterwards).
// The pipeline and the save report their progress; the longest time between two reports is printed.
// It prints one line of key=value pairs per run (the script bench/run_bench_import.sh makes the table), the
// peak resident memory of the process, and the peak of what follows the reading (the pipeline and the save,
// with the part in memory), measured from a high-water mark restarted after the reader. With a manifest it
// compares the closed contours, open chains and nesting depths with what the generator drew; a mismatch is
// reported and makes the exit code 1.
//
// Plates are cleaned with the tolerances the generator recommends (joints 1e-4) and a tiny size of 0.01,
// the size below which the generator draws its junk specks.
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#include <boost/make_shared.hpp>
#include <nlohmann/json.hpp>

#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "io/DxfReader.h"

using namespace Norvane;

namespace {

constexpr double kJoinTol = 1e-4;
constexpr double kTinySize = 0.01;

struct Timer {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    double Wall() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double Cpu() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

struct Counter : DL_CreationAdapter {
    long entities = 0;
    void addLine(const DL_LineData&) override { ++entities; }
    void addArc(const DL_ArcData&) override { ++entities; }
    void addCircle(const DL_CircleData&) override { ++entities; }
    void addEllipse(const DL_EllipseData&) override { ++entities; }
    void addPolyline(const DL_PolylineData&) override { ++entities; }
    void addSpline(const DL_SplineData&) override { ++entities; }
};

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// The high-water mark of resident memory since the last ResetPeak (Linux's VmHWM); -1 when unknown.
double PeakSinceResetMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(1 << 20, '\n');
    }
    return -1.0;
}

// Hands freed heap back to the system and restarts the high-water mark, so that the peak of what follows
// can be told from the reader's.
void ResetPeak() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

const char* StageKey(tagImportStage stage) {
    switch (stage) {
        case tagImportStage::Merge:
            return "merge";
        case tagImportStage::RemoveTiny:
            return "tiny";
        case tagImportStage::MoveToOrigin:
            return "origin";
        case tagImportStage::BuildLoops:
            return "loops";
        case tagImportStage::Orient:
            return "orient";
        case tagImportStage::Recognise:
            return "recognise";
        case tagImportStage::Optimize:
            return "optimize";
        case tagImportStage::Duplicates:
            return "duplicates";
        case tagImportStage::Arrays:
            return "arrays";
        case tagImportStage::Nesting:
            return "nesting";
    }
    return "stage";
}

// Closed loops by nesting depth (0 = outer contours), counting closed loops only, as the generator does.
void CountDepths(const LoopTopItemListPtr& level, int depth, std::map<int, long>& byDepth, long& open) {
    for (const LoopTopItemPtr& item : *level) {
        const bool isOpen = item->GetPatLoop()->IsOpenPath(kOpenLoopTol) != 0;
        if (isOpen) {
            ++open;
        } else {
            ++byDepth[depth];
        }
        CountDepths(item->GetSubItemList(), isOpen ? depth : depth + 1, byDepth, open);
    }
}

int RunOnce(const std::string& dxf, const nlohmann::json* manifest) {
    std::map<std::string, std::pair<double, double>> times;  // wall, cpu

    {
        const Timer t;
        Counter counter;
        DL_Dxf parser;
        if (!parser.in(dxf, &counter)) {
            std::fprintf(stderr, "bench_import: dxflib cannot read %s\n", dxf.c_str());
            return 2;
        }
        times["read_alone"] = {t.Wall(), t.Cpu()};
    }

    const Timer total;
    DxfReader::Result read;
    {
        const Timer t;
        read = DxfReader::Read(dxf);
        times["read"] = {t.Wall(), t.Cpu()};
    }
    if (!read.Ok()) {
        std::fprintf(stderr, "bench_import: %s\n", read.message.c_str());
        return 2;
    }
    const std::size_t pieces = read.patterns->size();
    const double readPeak = PeakMegabytes();  // restarting the mark below restarts this one too
    ResetPeak();

    ImportOptions options;
    options.joinTol = kJoinTol;
    options.mergeTol = kJoinTol;
    options.tinySize = kTinySize;
    // Every progress notification is timed: the longest silence shows whether a progress display fed by
    // the import could move at least twice a second.
    std::vector<std::pair<std::chrono::steady_clock::time_point, std::clock_t>> notes;
    const auto progress = boost::make_shared<ProgressData>();
    const auto note = [&notes] { notes.emplace_back(std::chrono::steady_clock::now(), std::clock()); };
    ImportReport report;
    Part part = ImportPipeline::Run(read.patterns, options, report, progress, note);
    for (const ImportReport::StageTime& stage : report.stages) {
        times[StageKey(stage.stage)] = {stage.seconds, stage.cpuSeconds};
    }

    char path[] = "/tmp/bench_import_XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0)
        close(fd);
    std::filesystem::remove(path);
    {
        const Timer t;
        ProgressMeter saving(progress, note);
        saving.BeginStage(L"saving", 0, 100);
        const PartFileResult saved = PartFile::Save(path, part.patterns, part.loops, PartSaveHook(), &saving);
        saving.Finish(L"saved");
        times["save"] = {t.Wall(), t.Cpu()};
        if (!saved.IsOk()) {
            std::fprintf(stderr, "bench_import: save failed: %s\n", saved.message.c_str());
            return 2;
        }
    }
    std::filesystem::remove(path);
    times["total"] = {total.Wall(), total.Cpu()};

    double silence = 0.0;     // wall clock
    double silenceCpu = 0.0;  // processor time, which a busy machine does not stretch
    for (std::size_t k = 1; k < notes.size(); ++k) {
        silence =
            std::max(silence, std::chrono::duration<double>(notes[k].first - notes[k - 1].first).count());
        silenceCpu =
            std::max(silenceCpu, static_cast<double>(notes[k].second - notes[k - 1].second) / CLOCKS_PER_SEC);
    }

    std::map<int, long> byDepth;
    long open = 0;
    CountDepths(part.tree, 0, byDepth, open);
    long closed = 0;
    for (const auto& [depth, count] : byDepth) closed += count;

    std::printf("pieces=%zu", pieces);
    for (const char* key : {"read_alone", "read", "merge", "tiny", "loops", "orient", "recognise", "nesting",
                            "save", "total"}) {
        const auto it = times.find(key);
        if (it != times.end())
            std::printf(" %s=%.4f %s_cpu=%.4f", key, it->second.first, key, it->second.second);
    }
    std::printf(" longest_silence=%.3f longest_silence_cpu=%.3f", silence, silenceCpu);
    std::printf(" peak_mb=%.1f peak_after_read_mb=%.1f closed=%ld open=%ld depths=",
                std::max(readPeak, PeakMegabytes()), PeakSinceResetMegabytes(), closed, open);
    for (const auto& [depth, count] : byDepth) std::printf("%d:%ld,", depth, count);

    int status = 0;
    if (manifest) {
        const nlohmann::json& expected = (*manifest)["expected_after_cleanup"];
        std::map<int, long> wantDepth;
        for (const auto& [depth, count] : expected["depth_histogram"].items())
            wantDepth[std::stoi(depth)] = count;
        const bool ok = expected["closed_contours"].get<long>() == closed &&
                        expected["open_chains"].get<long>() == open && wantDepth == byDepth;
        std::printf(" manifest=%s", ok ? "ok" : "MISMATCH");
        if (!ok) {
            std::fprintf(stderr,
                         "bench_import: %s: expected %ld closed, %ld open; got %ld closed, %ld open\n",
                         dxf.c_str(), expected["closed_contours"].get<long>(),
                         expected["open_chains"].get<long>(), closed, open);
            status = 1;
        }
    }
    std::printf("\n");
    std::fflush(stdout);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // As the geomfeature program does (see there).
#ifdef M_MXFAST
    mallopt(M_MXFAST, 0);
#endif
    std::string dxf;
    std::string json;
    int repeat = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (dxf.empty()) {
            dxf = argv[i];
        } else {
            json = argv[i];
        }
    }
    if (dxf.empty()) {
        std::fprintf(stderr, "usage: bench_import PLATE.dxf [PLATE.json] [--repeat N]\n");
        return 64;
    }
    nlohmann::json manifest;
    if (!json.empty()) {
        std::ifstream in(json);
        if (!in) {
            std::fprintf(stderr, "bench_import: cannot read %s\n", json.c_str());
            return 66;
        }
        manifest = nlohmann::json::parse(in);
    }
    int status = 0;
    for (int r = 0; r < repeat; ++r) {
        status = std::max(status, RunOnce(dxf, json.empty() ? nullptr : &manifest));
    }
    return status;
}
