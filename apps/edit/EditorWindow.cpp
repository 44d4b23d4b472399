#include "apps/edit/EditorWindow.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <thread>

#include <boost/make_shared.hpp>

#include "apps/core/CliError.h"
#include "apps/edit/GtkServices.h"
#include "apps/edit/PropPane.h"
#include "geomFeature/editor/GeomOptDlg.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/IOutputBar.h"
#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/uikit/XDialogBase.h"
#include "geomFeature/host/uikit/XMessageBox.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopOptTask.h"
#include "geomFeature/processor/PatArrayBuilder.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/ImportPipeline.h"

namespace Norvane {

namespace {

using Clock = std::chrono::steady_clock;

// A rebuild of the part's picture that took longer than this waits until the view stops moving; the
// cached picture is shown moved and scaled meanwhile.
constexpr double kDeferRebuildMs = 30.0;
constexpr guint kRebuildDelayMs = 120;
// Tolerance of the loop optimisation started from the Part menu, in drawing units.
constexpr double kOptimiseTolerance = 0.01;
// Menu bar, toolbar and status bar together, in pixels, for the window's first size.
constexpr int kBarsHeight = 92;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct ToolEntry {
    const char* label;  // menu text
    const char* shortLabel;  // toolbar text
    EditorWindow::Kind kind;
    int code;
    const char* accel;  // GTK accelerator, or nullptr
};

// Every drawing tool, edit action and view action by its code.
const ToolEntry kDrawTools[] = {
    {"_Line", "Line", EditorWindow::Kind::Draw, DRAW_LINE, "F3"},
    {"_Polyline", "PLine", EditorWindow::Kind::Draw, DRAW_MULTI_LINE, nullptr},
    {"_Rectangle", "Rect", EditorWindow::Kind::Draw, DRAW_RECT_LINE, nullptr},
    {"Rectangular _hole", "RHole", EditorWindow::Kind::Draw, DRAW_RECT_HOLE, nullptr},
    {"_Arc", "Arc", EditorWindow::Kind::Draw, DRAW_ARC, nullptr},
    {"Arc by _3 points", "Arc3", EditorWindow::Kind::Draw, DRAW_ARC_3PT, nullptr},
    {"Rounded-corner h_ole", "RCHole", EditorWindow::Kind::Draw, DRAW_RC_HOLE, nullptr},
    {"Rounded rectan_gle", "RCRect", EditorWindow::Kind::Draw, DRAW_RC_LINE, nullptr},
    {"_Circle", "Circle", EditorWindow::Kind::Draw, DRAW_CIRCLE, "F4"},
    {"_Ellipse", "Ellipse", EditorWindow::Kind::Draw, DRAW_ELLIPSE, nullptr},
    {"_Single D", "1D", EditorWindow::Kind::Draw, DRAW_SINGLE_D, nullptr},
    {"_Double D", "2D", EditorWindow::Kind::Draw, DRAW_DOUBLE_D, nullptr},
    {"_Triangle hole", "Tri", EditorWindow::Kind::Draw, DRAW_TR_HOLE, nullptr},
    {"O_bround", "OB", EditorWindow::Kind::Draw, DRAW_OBROUND, nullptr},
    {"Radial slo_t", "Slot", EditorWindow::Kind::Draw, DRAW_RAD_SLOT, nullptr},
    {"Array along a li_ne", "ALine", EditorWindow::Kind::Draw, DRAW_PAT_LINE, nullptr},
    {"Array along an arc", "AArc", EditorWindow::Kind::Draw, DRAW_PAT_ARC, nullptr},
    {"Array on a circle", "ACirc", EditorWindow::Kind::Draw, DRAW_PAT_CIRCLE, nullptr},
    {"Array on a _grid", "AGrid", EditorWindow::Kind::Draw, DRAW_PAT_GRID, nullptr},
};

const ToolEntry kEditTools[] = {
    {"_Select", "Select", EditorWindow::Kind::Edit, EDIT_SELECT, "F2"},
    {"Select _loops", "Loops", EditorWindow::Kind::Edit, EDIT_LOOP_SELECT, nullptr},
    {"_Delete", "Delete", EditorWindow::Kind::Edit, EDIT_DELETE, nullptr},
    {"E_xplode", "Explode", EditorWindow::Kind::Edit, EDIT_EXPLODE, nullptr},
    {"_Copy", "Copy", EditorWindow::Kind::Edit, EDIT_COPY, "F7"},
    {"_Move", "Move", EditorWindow::Kind::Edit, EDIT_MOVE, "F6"},
    {"_Rotate", "Rotate", EditorWindow::Kind::Edit, EDIT_ROTATE, "F8"},
    {"_Offset a loop", "Offset", EditorWindow::Kind::Edit, EDIT_OFFSET_LOOP, nullptr},
};

const ToolEntry kViewTools[] = {
    {"_Fit", "Fit", EditorWindow::Kind::Fit, 0, "Home"},
    {"Zoom _in", "Zoom+", EditorWindow::Kind::View, VIEW_ACTION_ZOOM_IN, nullptr},
    {"Zoom _out", "Zoom−", EditorWindow::Kind::View, VIEW_ACTION_ZOOM_OUT, nullptr},
};

// The status bar's prompt: the current action's prompt and what was typed.
class StatusPrompt : public IOutputBar {
public:
    explicit StatusPrompt(GtkWidget* label) : m_label(label) {}
    void ShowPrompt(int promptID, int secondID, const std::wstring& typed) override {
        std::wstring text = promptID != 0 ? ResourceString::Load(promptID) : std::wstring();
        if (secondID != 0) text += L"  " + ResourceString::Load(secondID);
        if (!typed.empty()) text += L"  > " + typed;
        gtk_label_set_text(GTK_LABEL(m_label), ToUtf8(text).c_str());
    }

private:
    GtkWidget* m_label;
};

void OnMenuActivate(GtkMenuItem*, gpointer data) {
    auto* command = static_cast<EditorWindow::Command*>(data);
    command->window->Run(command->kind, command->code);
}

void OnToolClicked(GtkToolButton*, gpointer data) {
    OnMenuActivate(nullptr, data);
}

EditorWindow* g_taskWindow = nullptr;

// A modal dialog with a progress bar whose Cancel button (or closing it) asks `progress` to cancel; the
// work reports through `progress` and the dialog is destroyed by its owner when the work has ended.
GtkWidget* NewProgressDialog(GtkWidget* parent, const char* title, ProgressData* progress, GtkWidget** bar) {
    GtkWidget* dialog = gtk_dialog_new_with_buttons(title, GTK_WINDOW(parent), GTK_DIALOG_MODAL, "_Cancel",
                                                    GTK_RESPONSE_CANCEL, nullptr);
    *bar = gtk_progress_bar_new();
    gtk_progress_bar_set_show_text(GTK_PROGRESS_BAR(*bar), TRUE);
    gtk_widget_set_size_request(*bar, 420, -1);
    gtk_container_set_border_width(GTK_CONTAINER(dialog), 12);
    gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), *bar);
    g_signal_connect_swapped(dialog, "response", G_CALLBACK(+[](gpointer data) {
                                 auto* shared = static_cast<ProgressData*>(data);
                                 std::lock_guard<std::mutex> lock(shared->GetMutex());
                                 shared->SetCancel(true);
                             }),
                             progress);
    gtk_widget_show_all(dialog);
    return dialog;
}

}  // namespace

EditorWindow::EditorWindow(const EditorWindowOptions& options)
    : m_options(options),
      m_view(boost::make_shared<CairoViewPort>(nullptr, ViewTransform(options.width, options.height))),
      m_session(std::make_unique<EditSession>(m_view)),
      m_input(std::make_unique<ViewInput>(m_session->GetEditor())) {
    BuildUi();
    XMessageBox::SetService(boost::make_shared<GtkMessageBoxService>(GTK_WINDOW(m_window)));
    XDialogBase::SetService(boost::make_shared<GtkDialogService>(GTK_WINDOW(m_window)));
    g_taskWindow = this;
    InstallGtkMessagePoster(&EditorWindow::OnTaskMessage);
    m_view->SetWindow(m_window);
    m_session->GetEditor()->SetOutputBar(boost::make_shared<StatusPrompt>(m_prompt));
    PatternPropBar::GetInstance(m_window)->SetRelativeView(m_view);
    gtk_widget_show_all(m_window);
    g_idle_add(&EditorWindow::OnFirstIdle, this);
}

EditorWindow::~EditorWindow() {
    if (m_task) {
        m_task->Join();
    }
    if (m_cacheTimer != 0) g_source_remove(m_cacheTimer);
    if (m_cache != nullptr) cairo_surface_destroy(m_cache);
    g_taskWindow = nullptr;
    XMessageBox::SetService(IMessageBoxServicePtr());
    XDialogBase::SetService(IDialogServicePtr());
}

EditorWindow::Command* EditorWindow::NewCommand(Kind kind, int code) {
    m_commands.push_back(std::make_unique<Command>(Command{this, kind, code}));
    return m_commands.back().get();
}

void EditorWindow::BuildUi() {
    m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(m_window), "geomfeature-edit");
    // The drawing area gets the size asked for: the property pane starts hidden and the bars above and
    // below are about this tall.
    gtk_window_set_default_size(GTK_WINDOW(m_window), m_options.width, m_options.height + kBarsHeight);
    g_signal_connect(m_window, "delete-event", G_CALLBACK(&EditorWindow::OnDelete), this);
    GtkAccelGroup* accel = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(m_window), accel);

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(m_window), column);
    gtk_box_pack_start(GTK_BOX(column), BuildMenus(accel), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), BuildToolbar(), FALSE, FALSE, 0);

    GtkWidget* paned = gtk_paned_new(GTK_ORIENTATION_HORIZONTAL);
    gtk_box_pack_start(GTK_BOX(column), paned, TRUE, TRUE, 0);
    m_area = gtk_drawing_area_new();
    // Small enough to leave the window free to shrink; the window's default size gives the area its own.
    gtk_widget_set_size_request(m_area, 200, 150);
    gtk_widget_set_can_focus(m_area, TRUE);
    gtk_widget_add_events(m_area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_KEY_PRESS_MASK);
    g_signal_connect(m_area, "draw", G_CALLBACK(&EditorWindow::OnDraw), this);
    g_signal_connect(m_area, "button-press-event", G_CALLBACK(&EditorWindow::OnButtonPress), this);
    g_signal_connect(m_area, "button-release-event", G_CALLBACK(&EditorWindow::OnButtonRelease), this);
    g_signal_connect(m_area, "motion-notify-event", G_CALLBACK(&EditorWindow::OnMotion), this);
    g_signal_connect(m_area, "scroll-event", G_CALLBACK(&EditorWindow::OnScroll), this);
    g_signal_connect(m_area, "key-press-event", G_CALLBACK(&EditorWindow::OnKeyPress), this);
    g_signal_connect(m_area, "size-allocate", G_CALLBACK(&EditorWindow::OnSizeAllocate), this);
    gtk_paned_pack1(GTK_PANED(paned), m_area, TRUE, FALSE);
    m_props = std::make_unique<PropPane>([this] { AfterEvent(Repaint::All, "property"); });
    gtk_paned_pack2(GTK_PANED(paned), m_props->Widget(), FALSE, TRUE);

    GtkWidget* status = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(status), 3);
    m_prompt = gtk_label_new("");
    gtk_widget_set_halign(m_prompt, GTK_ALIGN_START);
    gtk_label_set_ellipsize(GTK_LABEL(m_prompt), PANGO_ELLIPSIZE_END);
    m_coords = gtk_label_new("");
    gtk_widget_set_size_request(m_coords, 240, -1);
    gtk_box_pack_start(GTK_BOX(status), m_prompt, TRUE, TRUE, 0);
    gtk_box_pack_end(GTK_BOX(status), m_coords, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(column), status, FALSE, FALSE, 0);
}

GtkWidget* EditorWindow::BuildMenus(GtkAccelGroup* accel) {
    GtkWidget* bar = gtk_menu_bar_new();
    auto menu = [&](const char* title) {
        GtkWidget* item = gtk_menu_item_new_with_mnemonic(title);
        GtkWidget* sub = gtk_menu_new();
        gtk_menu_set_accel_group(GTK_MENU(sub), accel);
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), sub);
        gtk_menu_shell_append(GTK_MENU_SHELL(bar), item);
        return sub;
    };
    auto add = [&](GtkWidget* sub, const char* label, Kind kind, int code, const char* accelText) {
        GtkWidget* item = gtk_menu_item_new_with_mnemonic(label);
        g_signal_connect(item, "activate", G_CALLBACK(OnMenuActivate), NewCommand(kind, code));
        if (accelText != nullptr) {
            guint key = 0;
            GdkModifierType mods = static_cast<GdkModifierType>(0);
            gtk_accelerator_parse(accelText, &key, &mods);
            gtk_widget_add_accelerator(item, "activate", accel, key, mods, GTK_ACCEL_VISIBLE);
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(sub), item);
        return item;
    };
    auto separator = [](GtkWidget* sub) { gtk_menu_shell_append(GTK_MENU_SHELL(sub), gtk_separator_menu_item_new()); };

    GtkWidget* file = menu("_File");
    add(file, "_New", Kind::New, 0, "<Control>n");
    add(file, "_Open…", Kind::Open, 0, "<Control>o");
    add(file, "_Save", Kind::Save, 0, "<Control>s");
    add(file, "Save _As…", Kind::SaveAs, 0, "<Control><Shift>s");
    separator(file);
    add(file, "Export _DXF…", Kind::ExportDxf, 0, nullptr);
    add(file, "Export _picture…", Kind::ExportPicture, 0, nullptr);
    separator(file);
    add(file, "_Quit", Kind::Quit, 0, "<Control>q");

    GtkWidget* edit = menu("_Edit");
    m_undoItem = add(edit, "_Undo", Kind::Undo, 0, "<Control>z");
    m_redoItem = add(edit, "_Redo", Kind::Redo, 0, "<Control>y");
    separator(edit);
    for (const ToolEntry& tool : kEditTools) add(edit, tool.label, tool.kind, tool.code, tool.accel);

    GtkWidget* draw = menu("_Draw");
    for (const ToolEntry& tool : kDrawTools) add(draw, tool.label, tool.kind, tool.code, tool.accel);

    GtkWidget* view = menu("_View");
    for (const ToolEntry& tool : kViewTools) add(view, tool.label, tool.kind, tool.code, tool.accel);

    GtkWidget* part = menu("_Part");
    add(part, "_Recognise shapes and arrays", Kind::Recognise, 0, nullptr);
    add(part, "_Optimise loops…", Kind::Optimise, 0, nullptr);
    add(part, "Op_tions…", Kind::Options, 0, nullptr);
    return bar;
}

GtkWidget* EditorWindow::BuildToolbar() {
    GtkWidget* bar = gtk_toolbar_new();
    gtk_toolbar_set_style(GTK_TOOLBAR(bar), GTK_TOOLBAR_TEXT);
    auto add = [&](const char* label, Kind kind, int code) {
        GtkToolItem* item = gtk_tool_button_new(nullptr, label);
        gtk_widget_set_focus_on_click(GTK_WIDGET(item), FALSE);
        g_signal_connect(item, "clicked", G_CALLBACK(OnToolClicked), NewCommand(kind, code));
        gtk_toolbar_insert(GTK_TOOLBAR(bar), item, -1);
    };
    add("Undo", Kind::Undo, 0);
    add("Redo", Kind::Redo, 0);
    gtk_toolbar_insert(GTK_TOOLBAR(bar), gtk_separator_tool_item_new(), -1);
    for (const ToolEntry& tool : kEditTools) add(tool.shortLabel, tool.kind, tool.code);
    gtk_toolbar_insert(GTK_TOOLBAR(bar), gtk_separator_tool_item_new(), -1);
    for (const ToolEntry& tool : kDrawTools) add(tool.shortLabel, tool.kind, tool.code);
    gtk_toolbar_insert(GTK_TOOLBAR(bar), gtk_separator_tool_item_new(), -1);
    for (const ToolEntry& tool : kViewTools) add(tool.shortLabel, tool.kind, tool.code);
    return bar;
}

void EditorWindow::Run(Kind kind, int code) {
    if (m_task) return;  // the part belongs to the optimisation until it ends
    const GeometryEditorPtr& editor = m_session->GetEditor();
    Repaint what = Repaint::Overlay;
    switch (kind) {
        case Kind::Draw:
            editor->SetDrawAction(static_cast<tagDrawActionType>(code));
            break;
        case Kind::Edit:
            if (code == EDIT_LOOP_SELECT) {
                editor->SetLoopSelectAction();
            } else {
                editor->SetEditAction(static_cast<tagEditActionType>(code));
            }
            break;
        case Kind::View:
            editor->SetViewAction(static_cast<tagViewActionType>(code));
            break;
        case Kind::Fit:
            what = m_input->Fit();
            break;
        case Kind::Undo:
            editor->Undo();
            break;
        case Kind::Redo:
            editor->Redo();
            break;
        case Kind::New:
            if (ConfirmDiscard()) {
                m_session->Adopt(Part{boost::make_shared<PatternList>(), boost::make_shared<PatLoopList>(), {}}, "");
                what = m_input->Fit();
            }
            break;
        case Kind::Open:
            if (ConfirmDiscard()) {
                const std::string path = AskFile("Open a part", GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, "");
                if (!path.empty()) OpenFile(path);
            }
            what = Repaint::All;
            break;
        case Kind::Save:
            Save(false);
            break;
        case Kind::SaveAs:
            Save(true);
            break;
        case Kind::ExportDxf:
        case Kind::ExportPicture: {
            const bool dxf = kind == Kind::ExportDxf;
            const std::string path = AskFile(dxf ? "Export DXF" : "Export picture", GTK_FILE_CHOOSER_ACTION_SAVE,
                                             dxf ? "*.dxf" : nullptr, dxf ? "part.dxf" : "part.png");
            if (!path.empty()) {
                try {
                    if (dxf) {
                        m_session->ExportDxf(path);
                    } else {
                        m_session->ExportPicture(path, 1600, 1200);
                    }
                } catch (const std::exception& error) {
                    ShowError(error.what());
                }
            }
            break;
        }
        case Kind::Recognise:
            Recognise();
            what = Repaint::All;
            break;
        case Kind::Optimise:
            Optimise();
            break;
        case Kind::Options: {
            GeomOptDlg dialog;
            dialog.SetOwner(m_window);
            dialog.SetdAllowOffset(m_allowOffset);
            if (dialog.DoModal() == MSGBOX_RESULT_OK) {
                m_allowOffset = dialog.GetdAllowOffset();
            }
            break;
        }
        case Kind::Quit:
            if (ConfirmDiscard()) gtk_main_quit();
            return;
    }
    gtk_widget_grab_focus(m_area);
    AfterEvent(what, "command");
}

// ---------------------------------------------------------------- drawing

void EditorWindow::RebuildCache() {
    const auto start = Clock::now();
    GdkWindow* window = gtk_widget_get_window(m_area);
    const int width = gtk_widget_get_allocated_width(m_area);
    const int height = gtk_widget_get_allocated_height(m_area);
    if (m_cache == nullptr || cairo_image_surface_get_width(m_cache) < width ||
        m_cacheView.GetDeviceWidth() != width || m_cacheView.GetDeviceHeight() != height) {
        if (m_cache != nullptr) cairo_surface_destroy(m_cache);
        // In the window's own pixel density: sharp on a HiDPI screen, drawn in the view's units.
        m_cache = window != nullptr
                      ? gdk_window_create_similar_image_surface(window, CAIRO_FORMAT_RGB24, width, height, 0)
                      : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    }
    cairo_t* cr = cairo_create(m_cache);
    const unsigned long background = NVOptionInfo::GetInstance()->GetDisplayParam()->BackgroundColor;
    cairo_set_source_rgb(cr, (background & 0xFF) / 255.0, ((background >> 8) & 0xFF) / 255.0,
                         ((background >> 16) & 0xFF) / 255.0);
    cairo_paint(cr);
    cairo_set_antialias(cr, m_lastDrawn > PartLayer::kSmoothLimit ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT);
    m_view->SetContext(cr);
    m_lastDrawn = m_layer.Draw(m_view).drawn;
    m_view->SetContext(nullptr);
    cairo_destroy(cr);
    m_cacheView = m_view->GetViewTransform();
    m_cacheValid = true;
    m_lastCacheMs = MsSince(start);
}

gboolean EditorWindow::OnCacheTimer(gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    window->m_cacheTimer = 0;
    window->m_cacheValid = false;
    gtk_widget_queue_draw(window->m_area);
    return G_SOURCE_REMOVE;
}

gboolean EditorWindow::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    const ViewTransform& now = window->m_view->GetViewTransform();
    const bool busy = static_cast<bool>(window->m_task);
    const bool moved = window->m_cacheValid &&
                       !(now.GetScale() == window->m_cacheView.GetScale() &&
                         now.GetWorldCenter().x == window->m_cacheView.GetWorldCenter().x &&
                         now.GetWorldCenter().y == window->m_cacheView.GetWorldCenter().y &&
                         now.GetDeviceWidth() == window->m_cacheView.GetDeviceWidth() &&
                         now.GetDeviceHeight() == window->m_cacheView.GetDeviceHeight());
    if (!busy && (!window->m_cacheValid || (moved && window->m_lastCacheMs < kDeferRebuildMs))) {
        window->RebuildCache();
    } else if (moved && !busy) {
        // A large part: show the old picture moved and scaled now, draw it anew once the view rests.
        if (window->m_cacheTimer != 0) g_source_remove(window->m_cacheTimer);
        window->m_cacheTimer = g_timeout_add(kRebuildDelayMs, &EditorWindow::OnCacheTimer, window);
    }
    if (window->m_cache != nullptr) {
        const ViewTransform& old = window->m_cacheView;
        const Point2D origin = now.WorldToDevice(old.DeviceToWorld(Point2D(0.0, 0.0)));
        const double ratio = now.GetScale() / old.GetScale();
        cairo_save(cr);
        cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
        cairo_paint(cr);
        cairo_translate(cr, origin.x, origin.y);
        cairo_scale(cr, ratio, ratio);
        cairo_set_source_surface(cr, window->m_cache, 0.0, 0.0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    if (!busy) {
        window->m_view->SetContext(cr);
        window->m_session->GetEditor()->DrawTransient();
        window->m_view->SetContext(nullptr);
    }
    return TRUE;
}

void EditorWindow::Refresh(Repaint what) {
    if (what == Repaint::None) return;
    if (what == Repaint::All) {
        // Moved views are handled by OnDraw; only a changed part forces a rebuild.
        const EditSession::Revision revision = m_session->GetRevision();
        if (!(revision == m_cacheRevision)) {
            m_layer.SetPatterns(m_session->GetPart().patterns);
            m_cacheRevision = revision;
            m_cacheValid = false;
        }
    }
    gtk_widget_queue_draw(m_area);
}

// ---------------------------------------------------------------- input

void EditorWindow::AfterEvent(Repaint what, const char* event) {
    if (!(m_session->GetRevision() == m_cacheRevision)) what = Repaint::All;
    Refresh(what);
    m_session->GetEditor()->UpdateOutputBar();
    UpdateStatus();
    UpdateTitleAndMenus();
    Report(event);
}

void EditorWindow::Report(const char* event) {
    ++m_events;
    if (!m_options.status) return;
    const IActionPtr action = m_session->GetEditor()->GetActionObject();
    const Point2D& cursor = m_input->GetCursorWorld();
    std::printf("idle %lu %s action=%d patterns=%zu undo=%zu modified=%d cursor=%.6g,%.6g\n", m_events, event,
                action ? action->GetActionType() : 0, m_session->GetPart().patterns->size(),
                CommandManager::GetInstance()->GetUndoCount(), m_session->IsModified() ? 1 : 0, cursor.x,
                cursor.y);
    std::fflush(stdout);
}

void EditorWindow::UpdateStatus() {
    const Point2D& cursor = m_input->GetCursorWorld();
    char text[96];
    std::snprintf(text, sizeof text, "x %.4f   y %.4f", cursor.x, cursor.y);
    gtk_label_set_text(GTK_LABEL(m_coords), text);
}

void EditorWindow::UpdateTitleAndMenus() {
    const std::string title = (m_session->IsModified() ? "*" : "") + m_session->GetTitle() + " — geomfeature-edit";
    gtk_window_set_title(GTK_WINDOW(m_window), title.c_str());
    const CommandManager* history = CommandManager::GetInstance();
    const ICommandPtr undo = history->GetUndoCommand();
    const ICommandPtr redo = history->GetRedoCommand();
    gtk_menu_item_set_label(GTK_MENU_ITEM(m_undoItem),
                            undo ? ("_Undo " + ToUtf8(undo->GetCommandName())).c_str() : "_Undo");
    gtk_menu_item_set_label(GTK_MENU_ITEM(m_redoItem),
                            redo ? ("_Redo " + ToUtf8(redo->GetCommandName())).c_str() : "_Redo");
    gtk_widget_set_sensitive(m_undoItem, undo ? TRUE : FALSE);
    gtk_widget_set_sensitive(m_redoItem, redo ? TRUE : FALSE);
}

gboolean EditorWindow::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    gtk_widget_grab_focus(window->m_area);
    if (window->m_task || event->type == GDK_3BUTTON_PRESS) return TRUE;
    const bool ctrl = (event->state & GDK_CONTROL_MASK) != 0;
    const int clicks = event->type == GDK_2BUTTON_PRESS ? 2 : 1;
    window->AfterEvent(window->m_input->ButtonPress(static_cast<int>(event->button), event->x, event->y, ctrl, clicks),
                       "press");
    return TRUE;
}

gboolean EditorWindow::OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    if (window->m_task) return TRUE;
    const bool ctrl = (event->state & GDK_CONTROL_MASK) != 0;
    window->AfterEvent(window->m_input->ButtonRelease(static_cast<int>(event->button), event->x, event->y, ctrl),
                       "release");
    return TRUE;
}

gboolean EditorWindow::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    if (window->m_task) return TRUE;
    const Repaint what = window->m_input->Motion(event->x, event->y);
    // Moves are many: no status line for them, and the overlay only.
    window->Refresh(what);
    window->UpdateStatus();
    return TRUE;
}

gboolean EditorWindow::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    double steps = 0.0;
    if (event->direction == GDK_SCROLL_UP) steps = 1.0;
    if (event->direction == GDK_SCROLL_DOWN) steps = -1.0;
    if (event->direction == GDK_SCROLL_SMOOTH) steps = -event->delta_y;
    window->AfterEvent(window->m_input->Scroll(event->x, event->y, steps), "scroll");
    return TRUE;
}

gboolean EditorWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    if (window->m_task) return FALSE;
    const unsigned int code = ViewInput::TranslateKey(event->keyval, gdk_keyval_to_unicode(event->keyval));
    if (code == 0) return FALSE;
    const bool ctrl = (event->state & GDK_CONTROL_MASK) != 0;
    window->AfterEvent(window->m_input->Key(code, ctrl), "key");
    return TRUE;
}

void EditorWindow::OnSizeAllocate(GtkWidget*, GdkRectangle* rect, gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    window->m_input->Resize(rect->width, rect->height);
    window->Refresh(Repaint::All);
}

gboolean EditorWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    if (window->m_task || !window->ConfirmDiscard()) return TRUE;  // keep the window
    gtk_main_quit();
    return TRUE;
}

gboolean EditorWindow::OnFirstIdle(gpointer self) {
    auto* window = static_cast<EditorWindow*>(self);
    const EditorWindowOptions& options = window->m_options;
    if (!options.file.empty()) window->OpenFile(options.file);
    if (options.hasView) {
        window->m_view->SetViewTransform([&] {
            ViewTransform view = window->m_view->GetViewTransform();
            view.SetView(Point2D(options.centerX, options.centerY), options.scale);
            return view;
        }());
    } else {
        window->m_input->Fit();
    }
    window->m_shown = true;
    window->Refresh(Repaint::All);
    gtk_widget_grab_focus(window->m_area);
    if (options.status) {
        gint x = 0;
        gint y = 0;
        gdk_window_get_origin(gtk_widget_get_window(window->m_area), &x, &y);
        GtkAllocation area;
        gtk_widget_get_allocation(window->m_area, &area);
        const ViewTransform& view = window->m_view->GetViewTransform();
        std::printf("ready origin=%d,%d size=%dx%d scale=%.17g center=%.17g,%.17g\n", x + area.x, y + area.y,
                    view.GetDeviceWidth(), view.GetDeviceHeight(), view.GetScale(), view.GetWorldCenter().x,
                    view.GetWorldCenter().y);
    }
    window->AfterEvent(Repaint::All, "open");
    return G_SOURCE_REMOVE;
}

// ---------------------------------------------------------------- files and part operations

void EditorWindow::ShowError(const std::string& text) {
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(m_window), GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                            GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

std::string EditorWindow::AskFile(const char* title, GtkFileChooserAction action, const char* pattern,
                                  const std::string& suggested) {
    GtkWidget* chooser = gtk_file_chooser_dialog_new(title, GTK_WINDOW(m_window), action, "_Cancel",
                                                     GTK_RESPONSE_CANCEL,
                                                     action == GTK_FILE_CHOOSER_ACTION_SAVE ? "_Save" : "_Open",
                                                     GTK_RESPONSE_ACCEPT, nullptr);
    if (action == GTK_FILE_CHOOSER_ACTION_SAVE) {
        gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
        gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), suggested.c_str());
    }
    if (pattern != nullptr) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_add_pattern(filter, pattern);
        gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);
    }
    std::string path;
    if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
        if (name != nullptr) path = name;
        g_free(name);
    }
    gtk_widget_destroy(chooser);
    return path;
}

bool EditorWindow::OpenFile(const std::string& path) {
    // The import runs on a worker thread; this loop keeps the window alive and shows its stages.
    struct Shared {
        boost::shared_ptr<ProgressData> progress = boost::make_shared<ProgressData>();
        Part part;
        bool ok = false;
        bool done = false;
        std::string error;
    };
    auto shared = std::make_shared<Shared>();
    GtkWidget* bar = nullptr;
    GtkWidget* dialog = NewProgressDialog(m_window, "Opening", shared->progress.get(), &bar);
    gtk_progress_bar_set_text(GTK_PROGRESS_BAR(bar), path.c_str());
    std::thread worker([shared, path] {
        try {
            shared->ok = EditSession::Read(path, shared->part, shared->progress);
        } catch (const std::exception& error) {
            shared->error = error.what();
        }
        std::lock_guard<std::mutex> lock(shared->progress->GetMutex());
        shared->done = true;
    });
    while (true) {
        {
            std::lock_guard<std::mutex> lock(shared->progress->GetMutex());
            if (shared->done) break;
            gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(bar), shared->progress->GetPercentage() / 100.0);
            if (!shared->progress->GetSubTask().empty()) {
                gtk_progress_bar_set_text(GTK_PROGRESS_BAR(bar), ToUtf8(shared->progress->GetSubTask()).c_str());
            }
        }
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(10000);
    }
    worker.join();
    gtk_widget_destroy(dialog);
    if (!shared->error.empty()) {
        ShowError(shared->error);
        return false;
    }
    if (!shared->ok) return false;  // cancelled: the part shown stays
    m_session->Adopt(shared->part, path);
    m_input->Fit();
    AfterEvent(Repaint::All, "open");
    return true;
}

bool EditorWindow::Save(bool askName) {
    std::string path = m_session->GetPath();
    if (askName || path.empty()) {
        path = AskFile("Save the part", GTK_FILE_CHOOSER_ACTION_SAVE, "*.db", m_session->GetTitle() + ".db");
        if (path.empty()) return false;
    }
    try {
        m_session->SaveAs(path);
    } catch (const std::exception& error) {
        ShowError(error.what());
        return false;
    }
    AfterEvent(Repaint::None, "saved");
    return true;
}

bool EditorWindow::ConfirmDiscard() {
    if (!m_session->IsModified()) return true;
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(m_window), GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                            GTK_BUTTONS_NONE, "Save the changes to %s?", m_session->GetTitle().c_str());
    gtk_dialog_add_buttons(GTK_DIALOG(box), "Do_n't save", GTK_RESPONSE_NO, "_Cancel", GTK_RESPONSE_CANCEL, "_Save",
                           GTK_RESPONSE_YES, nullptr);
    const int answer = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    if (answer == GTK_RESPONSE_YES) return Save(false);
    return answer == GTK_RESPONSE_NO;
}

void EditorWindow::Recognise() {
    // A fresh selection first: the pieces a shape replaces leave the part.
    m_session->GetEditor()->SetEditAction(EDIT_SELECT);
    Part& part = m_session->GetPart();
    PatGrouper::GroupPat(part.patterns, part.loops);
    PatArrayBuilder::GridPat(part.patterns, part.loops);
    ImportPipeline::ComputeNesting(part);
    m_session->Touch();
}

void EditorWindow::Optimise() {
    m_session->GetEditor()->SetEditAction(EDIT_SELECT);
    Part& part = m_session->GetPart();
    m_taskProgress = boost::make_shared<ProgressData>();
    m_task = boost::make_shared<LoopOptTask>(part.patterns, part.loops, kOptimiseTolerance);
    m_task->SetWindow(m_window);
    m_task->SetProgressData(m_taskProgress);
    m_taskDialog = NewProgressDialog(m_window, "Optimising loops", m_taskProgress.get(), &m_taskBar);
    m_task->Start();
}

void EditorWindow::OnTaskMessage(void* target, unsigned int message) {
    EditorWindow* window = g_taskWindow;
    if (window == nullptr || target != window->m_window || message != LoopOptTask::kProgressMessage ||
        !window->m_task) {
        return;
    }
    bool finished = false;
    {
        std::lock_guard<std::mutex> lock(window->m_taskProgress->GetMutex());
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(window->m_taskBar),
                                      window->m_taskProgress->GetPercentage() / 100.0);
        gtk_progress_bar_set_text(GTK_PROGRESS_BAR(window->m_taskBar),
                                  ToUtf8(window->m_taskProgress->GetSubTask()).c_str());
        finished = window->m_taskProgress->IsFinished();
    }
    if (!finished) return;
    window->m_task->Join();
    window->m_task.reset();
    gtk_widget_destroy(window->m_taskDialog);
    window->m_taskDialog = nullptr;
    // The loops changed beside the history: the part is modified and cannot be undone to before.
    Part& part = window->m_session->GetPart();
    ImportPipeline::ComputeNesting(part);
    window->m_session->Touch();
    window->AfterEvent(Repaint::All, "optimised");
}

}  // namespace Norvane
