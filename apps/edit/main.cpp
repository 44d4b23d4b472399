// geomfeature-edit: the desktop editor of a part. Opens a part database, imports a DXF drawing, or
// starts an empty part.
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>

#include <cstdio>
#include <iostream>

#include <CLI/CLI.hpp>

#include "apps/edit/EditorWindow.h"

namespace {

// Draws the whole window into a PNG: the window's own rendering (no screen grab), the drawing view with
// its transient pictures included.
gboolean TakeSnapshot(gpointer data) {
    auto* window = static_cast<Norvane::EditorWindow*>(data);
    GtkWidget* widget = window->Widget();
    const int width = gtk_widget_get_allocated_width(widget);
    const int height = gtk_widget_get_allocated_height(widget);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    gtk_widget_draw(widget, cr);
    cairo_destroy(cr);
    const char* path = static_cast<const char*>(g_object_get_data(G_OBJECT(widget), "gf-snapshot"));
    const cairo_status_t status = cairo_surface_write_to_png(surface, path);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "geomfeature-edit: %s: %s\n", path, cairo_status_to_string(status));
    } else {
        std::printf("snapshot %s\n", path);
        std::fflush(stdout);
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace

int main(int argc, char** argv) {
    Norvane::EditorWindowOptions options;
    std::string size;
    std::vector<double> view;
    CLI::App app("Edit a part in a window: draw, snap, select, move, rotate, copy, delete, explode, offset, "
                 "edit properties, undo and save");
    app.add_option("part", options.file, "Part database (.db) to open, or DXF drawing to import");
    app.add_flag("--status", options.status,
                 "Print a line on stdout after every handled event ('ready ...', then 'idle N EVENT ...')");
    app.add_option("--size", size, "Size of the drawing area in pixels, WIDTHxHEIGHT (default 1100x750)");
    app.add_option("--view", view, "Start with this view instead of the whole part: CX CY SCALE (pixels per unit)")
        ->expected(3);
    app.add_option("--snapshot", options.snapshot,
                   "Write a PNG of the window to this file whenever the program gets the signal USR1");
    try {
        app.parse(argc, argv);
        if (!size.empty() && std::sscanf(size.c_str(), "%dx%d", &options.width, &options.height) != 2) {
            throw CLI::ValidationError("--size", "expected WIDTHxHEIGHT, e.g. 1100x750");
        }
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    if (view.size() == 3) {
        options.hasView = true;
        options.centerX = view[0];
        options.centerY = view[1];
        options.scale = view[2];
    }
    if (!gtk_init_check(&argc, &argv)) {
        std::cerr << "geomfeature-edit: cannot open the display (is DISPLAY set?)\n";
        return 69;
    }
    Norvane::EditorWindow window(options);
    if (!options.snapshot.empty()) {
        g_object_set_data(G_OBJECT(window.Widget()), "gf-snapshot", const_cast<char*>(options.snapshot.c_str()));
        g_unix_signal_add(SIGUSR1, TakeSnapshot, &window);
    }
    gtk_main();
    return 0;
}
