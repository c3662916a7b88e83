// Browsing for a playlist: a file chooser owned by the dialog, starting in the
// current folder and showing only .m3u files.

#include "setup.h"

void browse_playlist()
{
    GtkWidget *chooser = gtk_file_chooser_dialog_new(
        "Open", GTK_WINDOW(thwnd), GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
        GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    gtk_file_chooser_set_local_only(GTK_FILE_CHOOSER(chooser), TRUE);

    gchar *folder = g_get_current_dir();
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), folder);
    g_free(folder);

    // One filter, matched regardless of the extension's case.
    GtkFileFilter *filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, "M3U playlist files");
    gtk_file_filter_add_pattern(filter, "*.[mM]3[uU]");
    gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);

    if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        gchar *path = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
        if (path) {
            show_playlist(path);
            gtk_editable_set_position(GTK_EDITABLE(playlist_box), -1);  // show the file's name
        }
        g_free(path);
    }
    gtk_widget_destroy(chooser);
}
