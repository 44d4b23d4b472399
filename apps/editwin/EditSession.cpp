#include "apps/editwin/EditSession.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <sstream>

#include <boost/make_shared.hpp>

#include "apps/core/CliError.h"
#include "apps/core/Commands.h"
#include "apps/core/OutputFile.h"
#include "apps/editwin/SnappingEditor.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "io/DxfReader.h"

namespace Norvane {

namespace fs = std::filesystem;

namespace {

bool IsDxf(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".dxf";
}

// The program's exports read a saved part; the window's part is written to a scratch database first so
// that the file written is exactly what `geomfeature export` / `render` would write for it.
class ScratchPart {
public:
    explicit ScratchPart(const Part& part) {
        m_path = (fs::temp_directory_path() / ("geomfeature-edit-" + std::to_string(::getpid()) + ".db")).string();
        std::error_code ec;
        fs::remove(m_path, ec);
        const PartFileResult saved = PartFile::Save(m_path, part.patterns, part.loops);
        if (!saved.IsOk()) throw CliError(kExitIoError, m_path + ": " + saved.message);
    }
    ~ScratchPart() {
        std::error_code ec;
        fs::remove(m_path, ec);
    }
    ScratchPart(const ScratchPart&) = delete;
    ScratchPart& operator=(const ScratchPart&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Runs a subcommand of the program with its report to stdout kept out of the window's status lines.
template <class Command>
void RunQuietly(const Command& command) {
    std::ostringstream sink;
    std::streambuf* old = std::cout.rdbuf(sink.rdbuf());
    try {
        command.Run();
    } catch (...) {
        std::cout.rdbuf(old);
        throw;
    }
    std::cout.rdbuf(old);
}

}  // namespace

EditSession::EditSession(const GlViewPortPtr& view)
    : m_assistor(boost::make_shared<DrawAssistor>(view)),
      m_editor(boost::make_shared<SnappingEditor>(view, m_assistor)) {
    m_part.patterns = boost::make_shared<PatternList>();
    m_part.loops = boost::make_shared<PatLoopList>();
    Attach();
}

void EditSession::Attach() {
    PatternPropBar::GetInstance()->ShowBar(0);
    m_editor->SetDummyAction();
    m_editor->SetPatternList(m_part.patterns);
    m_editor->SetPatLoopList(m_part.loops);
    CommandManager::GetInstance()->Clear();
    PatternForwarding::Clear();
    m_editor->SetEditAction(EDIT_SELECT);
    ++m_touches;
    m_saved = GetRevision();
}

bool EditSession::Read(const std::string& path, Part& part, const boost::shared_ptr<ProgressData>& progress,
                       const std::function<void()>& notify) {
    if (!IsDxf(path)) {
        part = LoadPart(path);
        return true;
    }
    if (!fs::exists(path)) throw CliError(kExitNoInput, path + ": no such file");
    DxfReader::Result read = DxfReader::Read(path, DxfReader::Options());
    if (!read.Ok()) {
        throw CliError(read.error == DxfReader::ErrorKind::MissingFile ? kExitNoInput : kExitBadData,
                       path + ": " + read.message);
    }
    ImportReport report;
    Part imported = ImportPipeline::Run(read.patterns, ImportOptions(), report, progress, notify);
    if (report.cancelled) return false;
    part = imported;
    return true;
}

void EditSession::Adopt(const Part& part, const std::string& path) {
    m_part = part;
    // An imported drawing is saved as a part database only where the user says.
    m_path = IsDxf(path) ? std::string() : path;
    m_title = path.empty() ? std::string("untitled") : fs::path(path).filename().string();
    Attach();
}

bool EditSession::Open(const std::string& path, const boost::shared_ptr<ProgressData>& progress,
                       const std::function<void()>& notify) {
    Part part;
    if (!Read(path, part, progress, notify)) return false;
    Adopt(part, path);
    return true;
}

std::string EditSession::GetTitle() const {
    return m_title;
}

void EditSession::SaveAs(const std::string& path) {
    // The part lives in memory: replacing the file it came from is what saving means.
    OutputFile out(path, true, {});
    out.Write([&](const std::string& temporary) {
        const PartFileResult saved = PartFile::Save(temporary, m_part.patterns, m_part.loops);
        if (!saved.IsOk()) throw CliError(kExitIoError, path + ": " + saved.message);
    });
    m_path = path;
    m_title = fs::path(path).filename().string();
    m_saved = GetRevision();
}

void EditSession::Save() {
    if (m_path.empty()) throw CliError(kExitUsage, "the part has no file yet: use Save As");
    SaveAs(m_path);
}

void EditSession::ExportDxf(const std::string& path) const {
    const ScratchPart scratch(m_part);
    ExportCommand command;
    command.input = scratch.Path();
    command.output = path;
    command.force = true;
    RunQuietly(command);
}

void EditSession::ExportPicture(const std::string& path, int width, int height) const {
    const ScratchPart scratch(m_part);
    RenderCommand command;
    command.input = scratch.Path();
    command.output = path;
    command.width = width;
    command.height = height;
    command.force = true;
    RunQuietly(command);
}

EditSession::Revision EditSession::GetRevision() const {
    const CommandManager* history = CommandManager::GetInstance();
    return Revision{history->GetUndoCommand(), history->GetUndoCount(), history->GetRedoCount(), m_touches};
}

bool EditSession::IsModified() const {
    // The part is what the undo history's done commands make of it: the same top command (held, so
    // never another at its address) at the same depth is the same part, whatever lies on the redo side.
    const Revision now = GetRevision();
    return now.top != m_saved.top || now.undo != m_saved.undo || now.touches != m_saved.touches;
}

void EditSession::Touch() {
    CommandManager::GetInstance()->Clear();
    ++m_touches;
    boost::static_pointer_cast<SnappingEditor>(m_editor)->PartChanged();
}

}  // namespace Norvane
