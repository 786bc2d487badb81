/* The smallest GTK 3 window that paints a 616 x 448 area like the Linux launcher's: white, the
 * wordmark's blue at the wordmark's place and one line of text drawn with Pango, centred on the
 * screen as the launcher is. The yardstick the start-up benchmark measures the Linux launcher against. */
#include <gtk/gtk.h>

static gboolean draw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  (void)widget;
  (void)data;
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0x1d / 255.0, 0x5f / 255.0, 0xa8 / 255.0);
  cairo_rectangle(cr, 130, 360, 375, 80);
  cairo_fill(cr);
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, "Install Vantrel for Windows");
  PangoFontDescription* font = pango_font_description_from_string("MS Sans Serif 12");
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, 22, 234);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  return TRUE;
}

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  GtkWidget* area = gtk_drawing_area_new();
  gtk_widget_set_size_request(area, 616, 448);
  gtk_container_add(GTK_CONTAINER(window), area);
  g_signal_connect(area, "draw", G_CALLBACK(draw), NULL);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  GdkRectangle screen;
  gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
  gtk_window_move(GTK_WINDOW(window), screen.x + screen.width / 2 - 308, screen.y + screen.height / 2 - 224);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
