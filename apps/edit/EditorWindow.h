#pragma once

#include <gtk/gtk.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "apps/editwin/EditSession.h"
#include "apps/editwin/PartLayer.h"
#include "apps/editwin/ViewInput.h"
#include "geomFeature/host/viewkit/CairoViewPort.h"

namespace Norvane {

class PropPane;
class LoopOptTask;
class ProgressData;

// What the window is started with (the program's options).
struct EditorWindowOptions {
    std::string file;         // part database or drawing to open; empty: a new part
    int width = 1100;         // drawing area size in pixels
    int height = 750;
    bool status = false;      // a line on stdout after every handled event (for tests and scripts)
    bool hasView = false;     // start with this view instead of fitting the part
    double centerX = 0.0;
    double centerY = 0.0;
    double scale = 1.0;       // pixels per drawing unit
    std::string snapshot;     // write a picture of the window to this PNG on SIGUSR1 (main.cpp)
};

// The editor's main window: menus and a toolbar with every drawing tool and edit and view action, the
// drawing view over the geometry editor (part picture cached offscreen, transient pictures painted over
// it), the property pane and a status bar with the prompt, the typed input and the cursor's coordinates.
class EditorWindow {
public:
    explicit EditorWindow(const EditorWindowOptions& options);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    GtkWidget* Widget() const { return m_window; }

    // Menu and toolbar entries: what they do when activated.
    enum class Kind { Draw, Edit, View, Undo, Redo, Fit, New, Open, Save, SaveAs, ExportDxf, ExportPicture,
                      Recognise, Optimise, Options, Quit };
    struct Command {
        EditorWindow* window;
        Kind kind;
        int code;
    };
    void Run(Kind kind, int code);

private:
    void BuildUi();
    GtkWidget* BuildMenus(GtkAccelGroup* accel);
    GtkWidget* BuildToolbar();
    Command* NewCommand(Kind kind, int code);

    // Drawing.
    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    void RebuildCache();
    // Repaint after an event: the overlay only, or the part too.
    void Refresh(Repaint what);
    static gboolean OnCacheTimer(gpointer self);

    // Input.
    static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
    static gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self);
    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
    static void OnSizeAllocate(GtkWidget*, GdkRectangle* rect, gpointer self);
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
    static gboolean OnFirstIdle(gpointer self);

    // After every editor event: the part picture if the part changed, the overlay, the menus, the status.
    void AfterEvent(Repaint what, const char* event);
    void UpdateStatus();
    void UpdateTitleAndMenus();
    void Report(const char* event);

    // File and part operations.
    bool OpenFile(const std::string& path);
    bool Save(bool askName);
    // Asks to save a modified part; false when the user cancelled.
    bool ConfirmDiscard();
    std::string AskFile(const char* title, GtkFileChooserAction action, const char* pattern,
                        const std::string& suggested);
    void ShowError(const std::string& text);
    void Recognise();
    void Optimise();
    static void OnTaskMessage(void* window, unsigned int message);

    EditorWindowOptions m_options;
    CairoViewPortPtr m_view;
    std::unique_ptr<EditSession> m_session;
    std::unique_ptr<ViewInput> m_input;
    PartLayer m_layer;
    std::unique_ptr<PropPane> m_props;

    GtkWidget* m_window = nullptr;
    GtkWidget* m_area = nullptr;
    GtkWidget* m_prompt = nullptr;
    GtkWidget* m_coords = nullptr;
    GtkWidget* m_undoItem = nullptr;
    GtkWidget* m_redoItem = nullptr;
    std::vector<std::unique_ptr<Command>> m_commands;

    // The part's picture at m_cacheView; painted transformed to the current view until rebuilt.
    cairo_surface_t* m_cache = nullptr;
    ViewTransform m_cacheView;
    bool m_cacheValid = false;
    EditSession::Revision m_cacheRevision;
    guint m_cacheTimer = 0;
    double m_lastCacheMs = 0.0;
    std::size_t m_lastDrawn = 0;

    // A background optimisation: the part is not touched by the window while it runs.
    boost::shared_ptr<LoopOptTask> m_task;
    boost::shared_ptr<ProgressData> m_taskProgress;
    GtkWidget* m_taskDialog = nullptr;
    GtkWidget* m_taskBar = nullptr;

    // The module's option edited in its options dialog.
    double m_allowOffset = 0.0;
    unsigned long m_events = 0;
    bool m_shown = false;
};

}  // namespace Norvane
