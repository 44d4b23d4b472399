#pragma once

#include <gtk/gtk.h>

#include "geomFeature/host/uikit/IDialogService.h"
#include "geomFeature/host/uikit/IMessageBoxService.h"

namespace Norvane {

// The module's message boxes as GTK modal message dialogs over the editor window: the string resources'
// texts, the buttons and icon asked for, the button pressed as the answer.
class GtkMessageBoxService : public IMessageBoxService {
public:
    explicit GtkMessageBoxService(GtkWindow* parent) : m_parent(parent) {}
    int ShowMessageBox(const MessageBoxRequest& request) override;

private:
    GtkWindow* m_parent;
};

// The module's dialogs (offset distance, options, ...) as GTK modal dialogs built from their controls:
// a numeric entry per number, a row of radio buttons per choice. OK takes the entries only when every one
// holds a number (otherwise the dialog stays open and the bad entry is marked).
class GtkDialogService : public IDialogService {
public:
    explicit GtkDialogService(GtkWindow* parent) : m_parent(parent) {}
    int RunModal(XDialogBase& dialog) override;

private:
    GtkWindow* m_parent;
};

// Background tasks' posted messages reach the GTK main loop: each is queued with g_idle_add and handed to
// `handler` there (window, message, parameters).
void InstallGtkMessagePoster(void (*handler)(void* window, unsigned int message));

// UTF-8 for GTK from the module's wide strings and back.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const char* text);

}  // namespace Norvane
