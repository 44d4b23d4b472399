#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/draw/DrawAssistor.h"
#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/host/appframe/ICommand.h"
#include "geomFeature/processor/Part.h"

namespace Norvane {

class ProgressData;

// One part open in the editor window, without any window: where it came from, its lists, the geometry
// editor working on them and whether it changed since it was last saved. The window owns one and asks it to
// open, save and export; everything here runs without a display, so the tests drive it directly.
//
// Failures throw CliError with the program's exit codes and a message naming the file (the window shows
// it in a message box); a failed save leaves the file on disk as it was.
class EditSession {
public:
    // An empty part edited on `view` (the window's drawing surface); the editor starts in selection.
    explicit EditSession(const GlViewPortPtr& view);

    // A saved part (.db) or a drawing to import (.dxf, any letter case) through the program's import
    // pipeline; progress, when given, receives the import's stages (and may cancel it: then false is
    // answered and the session keeps its part). notify is called on the importing thread after each
    // change of progress. Safe to call on a worker thread while nothing else uses the session.
    bool Open(const std::string& path, const boost::shared_ptr<ProgressData>& progress = {},
              const std::function<void()>& notify = {});
    // Open in two halves, for a window that reads on a worker thread: Read touches nothing shared (it
    // throws as Open does and answers false when cancelled), Adopt makes the part the session's on the
    // window's thread. An empty path makes a new, untitled part of the lists given.
    static bool Read(const std::string& path, Part& part, const boost::shared_ptr<ProgressData>& progress = {},
                     const std::function<void()>& notify = {});
    void Adopt(const Part& part, const std::string& path);

    // The part database the session saves to: the opened .db; empty for a new part or an imported drawing
    // (those need SaveAs).
    const std::string& GetPath() const { return m_path; }
    // What the window's title shows: the file name, or "untitled".
    std::string GetTitle() const;
    // Writes the part atomically (temporary file, then rename) to `path`, replacing what is there, and
    // makes it the session's path. Save uses the current path (which must not be empty).
    void SaveAs(const std::string& path);
    void Save();
    // Cleaned DXF (layers by contour kind) or a picture (.png, .svg, .pdf) of the part, atomically.
    void ExportDxf(const std::string& path) const;
    void ExportPicture(const std::string& path, int width, int height) const;

    // True when the done commands differ from those at the last open or save (undoing back to the saved
    // state is no change), or the part was changed beside the history (Touch).
    bool IsModified() const;
    // The state of the undo history (its top command held, so that its address is never reused) and of
    // the changes made beside it: it differs whenever the part's geometry may have changed (a command
    // done, undone or redone, or Touch); the window redraws its cached picture of the part when it does.
    struct Revision {
        ICommandPtr top;
        std::size_t undo = 0;
        std::size_t redo = 0;
        std::size_t touches = 0;
        bool operator==(const Revision&) const = default;
    };
    Revision GetRevision() const;
    // For changes made beside the command history (a background optimisation, a recognition run): they
    // cannot be undone, so the history is cleared and the part counts as modified.
    void Touch();

    Part& GetPart() { return m_part; }
    const GeometryEditorPtr& GetEditor() const { return m_editor; }
    const DrawAssistorPtr& GetAssistor() const { return m_assistor; }

private:
    // Hands the lists to the editor, forgets the history and starts in selection.
    void Attach();
    Part m_part;
    std::string m_path;
    std::string m_title = "untitled";
    DrawAssistorPtr m_assistor;
    GeometryEditorPtr m_editor;
    Revision m_saved;
    std::size_t m_touches = 0;
};

}  // namespace Norvane
