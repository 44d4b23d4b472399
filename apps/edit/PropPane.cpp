#include "apps/edit/PropPane.h"

#include <string>

#include "apps/edit/GtkServices.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/host/appframe/ResourceString.h"

namespace Norvane {

namespace {

constexpr const char* kGroupKey = "gf-group";
constexpr const char* kEntryKey = "gf-entry";

void Tag(GtkWidget* widget, std::size_t group, std::size_t entry) {
    g_object_set_data(G_OBJECT(widget), kGroupKey, GUINT_TO_POINTER(static_cast<guint>(group)));
    g_object_set_data(G_OBJECT(widget), kEntryKey, GUINT_TO_POINTER(static_cast<guint>(entry)));
}

}  // namespace

PropPane::PropPane(std::function<void()> changed) : m_changed(std::move(changed)) {
    PatternPropBar* bar = PatternPropBar::GetInstance();
    m_frame = gtk_frame_new(ToUtf8(ResourceString::Load(bar->GetTitleID())).c_str());
    g_object_ref_sink(m_frame);
    GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_widget_set_size_request(scroll, 260, -1);
    m_grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(m_grid), 4);
    gtk_grid_set_column_spacing(GTK_GRID(m_grid), 8);
    gtk_container_set_border_width(GTK_CONTAINER(m_grid), 6);
    gtk_container_add(GTK_CONTAINER(scroll), m_grid);
    gtk_container_add(GTK_CONTAINER(m_frame), scroll);
    gtk_widget_set_no_show_all(m_frame, TRUE);
    bar->AddObserver(this);
}

PropPane::~PropPane() {
    PatternPropBar::GetInstance()->RemoveObserver(kObserverID);
    g_object_unref(m_frame);
}

void PropPane::OnSubjectChanged(ISubject*) {
    if (PatternPropBar::GetInstance()->IsVisible() == 0) {
        gtk_widget_hide(m_frame);
        return;
    }
    Fill();
    gtk_widget_set_no_show_all(m_frame, FALSE);
    gtk_widget_show_all(m_frame);
}

void PropPane::Fill() {
    m_filling = true;
    GList* children = gtk_container_get_children(GTK_CONTAINER(m_grid));
    for (GList* it = children; it != nullptr; it = it->next) gtk_widget_destroy(GTK_WIDGET(it->data));
    g_list_free(children);

    const PropGrid& grid = PatternPropBar::GetInstance()->GetGrid();
    int row = 0;
    for (std::size_t g = 0; g < grid.GetGroups().size(); ++g) {
        const PropGrid::Group& group = grid.GetGroups()[g];
        GtkWidget* title = gtk_label_new(nullptr);
        gchar* markup = g_markup_printf_escaped("<b>%s</b>", ToUtf8(group.title).c_str());
        gtk_label_set_markup(GTK_LABEL(title), markup);
        g_free(markup);
        gtk_widget_set_halign(title, GTK_ALIGN_START);
        gtk_grid_attach(GTK_GRID(m_grid), title, 0, row++, 2, 1);
        for (std::size_t e = 0; e < group.entries.size(); ++e) {
            const PropGrid::Entry& entry = group.entries[e];
            GtkWidget* caption = gtk_label_new(ToUtf8(entry.caption).c_str());
            gtk_widget_set_halign(caption, GTK_ALIGN_START);
            gtk_grid_attach(GTK_GRID(m_grid), caption, 0, row, 1, 1);
            GtkWidget* value = nullptr;
            switch (entry.kind) {
                case PropGrid::EntryKind::ReadOnly:
                    value = gtk_label_new(ToUtf8(entry.text).c_str());
                    gtk_widget_set_halign(value, GTK_ALIGN_START);
                    break;
                case PropGrid::EntryKind::Number:
                    value = gtk_entry_new();
                    gtk_entry_set_width_chars(GTK_ENTRY(value), 10);
                    gtk_entry_set_text(GTK_ENTRY(value), ToUtf8(entry.text).c_str());
                    g_signal_connect(value, "activate", G_CALLBACK(OnEntryActivate), this);
                    g_signal_connect(value, "focus-out-event", G_CALLBACK(OnEntryFocusOut), this);
                    break;
                case PropGrid::EntryKind::Choice:
                    value = gtk_combo_box_text_new();
                    for (std::size_t k = 0; k < entry.options.size(); ++k) {
                        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(value), ToUtf8(entry.options[k]).c_str());
                        if (entry.options[k] == entry.text) gtk_combo_box_set_active(GTK_COMBO_BOX(value), static_cast<gint>(k));
                    }
                    g_signal_connect(value, "changed", G_CALLBACK(OnComboChanged), this);
                    break;
            }
            Tag(value, g, e);
            gtk_grid_attach(GTK_GRID(m_grid), value, 1, row++, 1, 1);
        }
    }
    gtk_widget_show_all(m_grid);
    m_filling = false;
}

void PropPane::Edit(unsigned int group, long entry, const char* text) {
    if (m_filling) return;
    PatternPropBar* bar = PatternPropBar::GetInstance();
    const PropGrid::Entry* row = bar->GetGrid().GetEntry(group, static_cast<std::size_t>(entry));
    const std::wstring wide = FromUtf8(text);
    if (row == nullptr || row->text == wide) return;
    bar->GetGrid().SetEntryText(group, static_cast<std::size_t>(entry), wide);
    // The bar refills the grid (and tells us) whether it took the edit or refused it with its warning.
    bar->OnPropertyChange(group, entry);
    if (m_changed) m_changed();
}

void PropPane::OnEntryActivate(GtkEntry* entry, gpointer self) {
    const guint group = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(entry), kGroupKey));
    const guint row = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(entry), kEntryKey));
    // The grid is rebuilt by the edit: copy the text before.
    const std::string text = gtk_entry_get_text(entry);
    static_cast<PropPane*>(self)->Edit(group, static_cast<long>(row), text.c_str());
}

gboolean PropPane::OnEntryFocusOut(GtkWidget* entry, GdkEvent*, gpointer self) {
    OnEntryActivate(GTK_ENTRY(entry), self);
    return FALSE;
}

void PropPane::OnComboChanged(GtkComboBox* combo, gpointer self) {
    const guint group = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(combo), kGroupKey));
    const guint row = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(combo), kEntryKey));
    gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(combo));
    const std::string copy = text != nullptr ? text : "";
    g_free(text);
    static_cast<PropPane*>(self)->Edit(group, static_cast<long>(row), copy.c_str());
}

}  // namespace Norvane
