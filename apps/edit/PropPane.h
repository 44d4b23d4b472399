#pragma once

#include <gtk/gtk.h>

#include <functional>

#include "geomFeature/host/appframe/IObserver.h"

namespace Norvane {

// The pattern property bar as a docked pane: observes the bar, shows and hides with it and renders its
// grid (a titled section per group; a drop-down per row with options, a numeric entry per number, a text
// otherwise). A changed row goes back to the bar, which makes it an undoable command or refuses it with its
// warning; `changed` is then called so that the window repaints.
class PropPane : public IObserver {
public:
    explicit PropPane(std::function<void()> changed);
    ~PropPane() override;
    PropPane(const PropPane&) = delete;
    PropPane& operator=(const PropPane&) = delete;

    GtkWidget* Widget() const { return m_frame; }

    DataID GetObserverID() const override { return kObserverID; }
    void OnSubjectChanged(ISubject* subject) override;

private:
    static constexpr DataID kObserverID = 0x5EED0001;
    void Fill();
    void Edit(unsigned int group, long entry, const char* text);
    static void OnEntryActivate(GtkEntry* entry, gpointer self);
    static gboolean OnEntryFocusOut(GtkWidget* entry, GdkEvent*, gpointer self);
    static void OnComboChanged(GtkComboBox* combo, gpointer self);

    std::function<void()> m_changed;
    GtkWidget* m_frame = nullptr;
    GtkWidget* m_grid = nullptr;
    bool m_filling = false;
};

}  // namespace Norvane
