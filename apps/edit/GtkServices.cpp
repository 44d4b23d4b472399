#include "apps/edit/GtkServices.h"

#include <string>
#include <vector>

#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/appframe/TaskEx.h"
#include "geomFeature/host/uikit/MessageBoxRequest.h"
#include "geomFeature/host/uikit/XDialogBase.h"

namespace Norvane {

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    for (const wchar_t wc : text) {
        const auto c = static_cast<unsigned long>(wc);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring FromUtf8(const char* text) {
    std::wstring out;
    if (text == nullptr) return out;
    for (const char* p = text; *p != '\0'; p = g_utf8_next_char(p)) {
        out += static_cast<wchar_t>(g_utf8_get_char(p));
    }
    return out;
}

int GtkMessageBoxService::ShowMessageBox(const MessageBoxRequest& request) {
    GtkMessageType type = GTK_MESSAGE_OTHER;
    switch (request.icon) {
        case MSGBOX_ICON_ERROR: type = GTK_MESSAGE_ERROR; break;
        case MSGBOX_ICON_QUESTION: type = GTK_MESSAGE_QUESTION; break;
        case MSGBOX_ICON_WARNING: type = GTK_MESSAGE_WARNING; break;
        case MSGBOX_ICON_INFORMATION: type = GTK_MESSAGE_INFO; break;
        case MSGBOX_ICON_NONE: break;
    }
    GtkWidget* box = gtk_message_dialog_new(m_parent, GTK_DIALOG_MODAL, type, GTK_BUTTONS_NONE, "%s",
                                            ToUtf8(request.GetText()).c_str());
    gtk_window_set_title(GTK_WINDOW(box), ToUtf8(request.GetCaption()).c_str());
    switch (request.buttons) {
        case MSGBOX_OK:
            gtk_dialog_add_button(GTK_DIALOG(box), "_OK", MSGBOX_RESULT_OK);
            break;
        case MSGBOX_OKCANCEL:
            gtk_dialog_add_buttons(GTK_DIALOG(box), "_Cancel", MSGBOX_RESULT_CANCEL, "_OK", MSGBOX_RESULT_OK,
                                   nullptr);
            break;
        case MSGBOX_YESNOCANCEL:
            gtk_dialog_add_buttons(GTK_DIALOG(box), "_Cancel", MSGBOX_RESULT_CANCEL, "_No", MSGBOX_RESULT_NO,
                                   "_Yes", MSGBOX_RESULT_YES, nullptr);
            break;
        case MSGBOX_YESNO:
            gtk_dialog_add_buttons(GTK_DIALOG(box), "_No", MSGBOX_RESULT_NO, "_Yes", MSGBOX_RESULT_YES, nullptr);
            break;
    }
    const int answer = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    // Closing the box by its frame is the answer that changes nothing.
    return answer > 0 ? answer : request.GetDefaultAnswer();
}

int GtkDialogService::RunModal(XDialogBase& dialog) {
    GtkWidget* window = gtk_dialog_new_with_buttons(ToUtf8(ResourceString::Load(dialog.GetTitleID())).c_str(),
                                                    m_parent, GTK_DIALOG_MODAL, "_Cancel", GTK_RESPONSE_CANCEL,
                                                    "_OK", GTK_RESPONSE_OK, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(window), GTK_RESPONSE_OK);
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
    gtk_container_set_border_width(GTK_CONTAINER(grid), 12);
    gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(window))), grid);

    // One widget per control: the entry of a number, the radio buttons of a choice.
    std::vector<GtkWidget*> entries;
    std::vector<std::vector<GtkWidget*>> radios;
    int row = 0;
    for (DialogControl& control : dialog.GetControls()) {
        GtkWidget* label = gtk_label_new(ToUtf8(ResourceString::Load(control.labelID)).c_str());
        gtk_widget_set_halign(label, GTK_ALIGN_START);
        gtk_grid_attach(GTK_GRID(grid), label, 0, row, 1, 1);
        entries.push_back(nullptr);
        radios.emplace_back();
        if (control.kind == DialogControl::Kind::Number) {
            GtkWidget* entry = gtk_entry_new();
            gtk_entry_set_text(GTK_ENTRY(entry), ToUtf8(control.edit.GetText()).c_str());
            gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
            gtk_grid_attach(GTK_GRID(grid), entry, 1, row, 1, 1);
            entries.back() = entry;
        } else {
            GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
            GSList* group = nullptr;
            for (std::size_t i = 0; i < control.optionIDs.size(); ++i) {
                GtkWidget* radio = gtk_radio_button_new_with_label(
                    group, ToUtf8(ResourceString::Load(control.optionIDs[i])).c_str());
                group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(radio));
                gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(radio), static_cast<int>(i) == control.selected);
                gtk_box_pack_start(GTK_BOX(buttons), radio, FALSE, FALSE, 0);
                radios.back().push_back(radio);
            }
            gtk_grid_attach(GTK_GRID(grid), buttons, 1, row, 1, 1);
        }
        ++row;
    }
    gtk_widget_show_all(window);

    int result = MSGBOX_RESULT_CANCEL;
    while (gtk_dialog_run(GTK_DIALOG(window)) == GTK_RESPONSE_OK) {
        bool allTaken = true;
        std::vector<DialogControl>& controls = dialog.GetControls();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (entries[i] != nullptr) {
                const bool taken = controls[i].edit.SetText(FromUtf8(gtk_entry_get_text(GTK_ENTRY(entries[i])))) != 0;
                gtk_widget_set_name(entries[i], taken ? "" : "bad-entry");
                if (!taken) {
                    gtk_widget_grab_focus(entries[i]);
                    allTaken = false;
                }
            }
            for (std::size_t k = 0; k < radios[i].size(); ++k) {
                if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(radios[i][k]))) {
                    controls[i].selected = static_cast<int>(k);
                }
            }
        }
        if (allTaken) {
            result = MSGBOX_RESULT_OK;
            break;
        }
    }
    gtk_widget_destroy(window);
    return result;
}

namespace {

void (*g_handler)(void*, unsigned int) = nullptr;

struct Posted {
    void* window;
    unsigned int message;
};

gboolean DeliverPosted(gpointer data) {
    const Posted* posted = static_cast<Posted*>(data);
    if (g_handler != nullptr) g_handler(posted->window, posted->message);
    delete posted;
    return G_SOURCE_REMOVE;
}

}  // namespace

void InstallGtkMessagePoster(void (*handler)(void* window, unsigned int message)) {
    g_handler = handler;
    TaskEx::SetMessagePoster([](WindowHandle window, unsigned int message, std::uintptr_t, std::intptr_t) {
        g_idle_add(DeliverPosted, new Posted{window, message});
    });
}

}  // namespace Norvane
