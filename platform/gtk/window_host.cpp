// The window host over GTK 3, cairo and pango.
#include "platform/gtk/window_host.h"

#include <malloc.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

#include "platform/gtk/cairo_canvas.h"
#include "ui/placement.h"

namespace platform {

namespace {

constexpr ui::Color kHintBackground = ui::Color::Rgb(0xFF, 0xFF, 0xE1);

// The hint's font, as the system's tooltips use.
PangoFontDescription* HintFont() { return pango_font_description_from_string("Sans 9"); }

std::uint32_t Le32(std::span<const std::uint8_t> d, std::size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

// The 24-bit images of an icon file, as pixbufs; images it cannot read are left out.
std::vector<GdkPixbuf*> IconImages(std::span<const std::uint8_t> ico) {
  std::vector<GdkPixbuf*> out;
  if (ico.size() < 6) return out;
  const unsigned count = ico[4] | (ico[5] << 8);
  for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
    const std::size_t entry = 6 + 16 * i;
    const std::uint32_t bytes = Le32(ico, entry + 8);
    const std::uint32_t offset = Le32(ico, entry + 12);
    if (offset > ico.size() || bytes > ico.size() - offset || bytes < 40) continue;
    const auto image = ico.subspan(offset, bytes);
    const auto width = static_cast<std::int32_t>(Le32(image, 4));
    const auto height = static_cast<std::int32_t>(Le32(image, 8)) / 2;  // the XOR image over the AND mask
    const unsigned bpp = image[14] | (image[15] << 8);
    if (bpp != 24 || width <= 0 || height <= 0 || width > 256 || height > 256) continue;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (40 + stride * static_cast<std::size_t>(height) > image.size()) continue;
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int rowstride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* from = image.data() + 40 + stride * static_cast<std::size_t>(height - 1 - y);  // bottom-up
      guchar* to = pixels + static_cast<std::size_t>(y) * rowstride;
      for (int x = 0; x < width; ++x) {
        to[x * 3 + 0] = from[x * 3 + 2];
        to[x * 3 + 1] = from[x * 3 + 1];
        to[x * 3 + 2] = from[x * 3 + 0];
      }
    }
    out.push_back(pixbuf);
  }
  return out;
}

}  // namespace

GtkHost::GtkHost(std::span<const std::uint8_t> icon) {
  // The command line is not read, GTK's options included: the same name on every start, and X11
  // first (XWayland on a Wayland desktop, which centres the window and shows its icon) without
  // putting GDK_BACKEND into the environment of what the launcher starts.
  g_set_prgname("vantrel-setup");
  gdk_set_allowed_backends("x11,*");
  gtk_init(nullptr, nullptr);
  measuring_ = gdk_pango_context_get();
  icons_ = IconImages(icon);
}

GtkHost::~GtkHost() {
  for (GdkPixbuf* p : icons_) g_object_unref(p);
  if (measuring_) g_object_unref(measuring_);
}

ui::Size GtkHost::MeasureText(const ui::Font& font, std::string_view text) {
  PangoLayout* layout = MakeLayout(measuring_, Describe(font), text);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);  // the height of one line of the font
  g_object_unref(layout);
  return {width, height};
}

int GtkHost::Dpi() {
  // GDK's screen resolution follows the desktop's gtk-xft-dpi; unset, it is 96.
  const double resolution = gdk_screen_get_resolution(gdk_screen_get_default());
  return resolution > 0 ? static_cast<int>(std::lround(resolution)) : ui::kDesignDpi;
}

template <class Action>
void GtkHost::Guarded(Action action) noexcept {
  // No exception leaves a signal handler: it is reported and the main loop goes on.
  try {
    action();
  } catch (...) {
    Report(std::current_exception());
  }
}

void GtkHost::Report(std::exception_ptr error) noexcept {
  try {
    if (form_) form_->PointerCancel();
    const auto message = report_ ? report_(error) : std::nullopt;
    if (!message || reporting_ || !window_) return;
    reporting_ = true;
    GtkWidget* dialog = gtk_message_dialog_new(GTK_WINDOW(window_), static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                               GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", message->text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), message->caption.c_str());
    gtk_widget_set_sensitive(window_, FALSE);  // the other windows take nothing while the box is up
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    if (window_) {
      gtk_widget_set_sensitive(window_, TRUE);
      gtk_window_present(GTK_WINDOW(window_));
    }
    reporting_ = false;
  } catch (...) {
    reporting_ = false;  // nothing more can be reported
  }
}

namespace {

// The frame the window manager will put around `window` (left, right, top, bottom, in device
// pixels), asked before the window is mapped with _NET_REQUEST_FRAME_EXTENTS. Only a window manager
// that says it answers is asked, and it has 200 ms to answer; without one there is no frame.
std::optional<std::array<long, 4>> FrameExtents(GtkWidget* window) {
  GdkDisplay* display = gtk_widget_get_display(window);
  if (!GDK_IS_X11_DISPLAY(display)) return std::nullopt;
  Display* x = gdk_x11_display_get_xdisplay(display);
  const Window self = gdk_x11_window_get_xid(gtk_widget_get_window(window));
  const Window root = DefaultRootWindow(x);
  const Atom request = XInternAtom(x, "_NET_REQUEST_FRAME_EXTENTS", False);
  const Atom extents = XInternAtom(x, "_NET_FRAME_EXTENTS", False);
  auto property = [&](Window w, Atom name, Atom type, long length, auto&& use) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool ok = XGetWindowProperty(x, w, name, 0, length, False, type, &actual, &format, &count, &after, &data) ==
                        Success && actual == type && format == 32;
    if (ok) use(reinterpret_cast<long*>(data), count);
    if (data) XFree(data);
    return ok;
  };
  bool supported = false;
  property(root, XInternAtom(x, "_NET_SUPPORTED", False), XA_ATOM, 4096, [&](long* atoms, unsigned long n) {
    supported = std::find(atoms, atoms + n, static_cast<long>(request)) != atoms + n;
  });
  if (!supported) return std::nullopt;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = self;
  event.xclient.message_type = request;
  event.xclient.format = 32;
  XSendEvent(x, root, False, SubstructureNotifyMask | SubstructureRedirectMask, &event);
  XFlush(x);
  std::optional<std::array<long, 4>> frame;
  for (const gint64 deadline = g_get_monotonic_time() + 200000; !frame && g_get_monotonic_time() < deadline;) {
    property(self, extents, XA_CARDINAL, 4, [&](long* v, unsigned long n) {
      if (n == 4) frame = std::array<long, 4>{v[0], v[1], v[2], v[3]};
    });
    if (!frame) g_usleep(2000);
  }
  return frame;
}

}  // namespace

void GtkHost::Centre() {
  // The bounding rectangle of all monitors; the outer window, its frame included, is centred on it.
  GdkDisplay* display = gdk_display_get_default();
  int left = 0, top = 0, right = 0, bottom = 0;
  for (int i = 0, n = gdk_display_get_n_monitors(display); i < n; ++i) {
    GdkRectangle g;
    gdk_monitor_get_geometry(gdk_display_get_monitor(display, i), &g);
    if (i == 0) left = g.x, top = g.y, right = g.x + g.width, bottom = g.y + g.height;
    left = std::min(left, g.x), top = std::min(top, g.y);
    right = std::max(right, g.x + g.width), bottom = std::max(bottom, g.y + g.height);
  }
  ui::Size outer = form_->clientSize;
  if (const auto frame = FrameExtents(window_)) {
    const long scale = std::max(1, gtk_widget_get_scale_factor(window_));
    outer.width += static_cast<int>(((*frame)[0] + (*frame)[1]) / scale);
    outer.height += static_cast<int>(((*frame)[2] + (*frame)[3]) / scale);
  }
  // With the default gravity the position moved to is the frame's top-left corner.
  const ui::Point at = ui::CentreOn({left, top, right - left, bottom - top}, outer);
  gtk_window_move(GTK_WINDOW(window_), at.x, at.y);
}

// The title captions the taskbar entry on Windows; here the window's caption, the same text, does that.
int GtkHost::Run(ui::Form& form, std::string_view, const ErrorReport& report) {
  form_ = &form;
  report_ = report;

  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window_), form.caption.c_str());
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  GList* icons = nullptr;
  for (GdkPixbuf* p : icons_) icons = g_list_append(icons, p);
  gtk_window_set_icon_list(GTK_WINDOW(window_), icons);
  g_list_free(icons);

  accessible_.form = &form;
  accessible_.invoke = [this](std::size_t spoken) { QueueInvoke(spoken); };
  area_ = AccessibleAreaNew(accessible_);
  gtk_widget_set_size_request(area_, form.clientSize.width, form.clientSize.height);
  gtk_widget_add_events(area_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                   GDK_LEAVE_NOTIFY_MASK | GDK_ENTER_NOTIFY_MASK);
  gtk_container_add(GTK_CONTAINER(window_), area_);
  g_signal_connect(area_, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(area_, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(area_, "leave-notify-event", G_CALLBACK(OnLeave), this);
  g_signal_connect(area_, "button-press-event", G_CALLBACK(OnButton), this);
  g_signal_connect(area_, "button-release-event", G_CALLBACK(OnButton), this);
  g_signal_connect(window_, "focus-in-event", G_CALLBACK(OnFocusIn), this);
  g_signal_connect(window_, "map-event", G_CALLBACK(OnFocusIn), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);

  hint_ = gtk_window_new(GTK_WINDOW_POPUP);
  gtk_window_set_transient_for(GTK_WINDOW(hint_), GTK_WINDOW(window_));
  GtkWidget* hintArea = gtk_drawing_area_new();
  gtk_container_add(GTK_CONTAINER(hint_), hintArea);
  g_signal_connect(hintArea, "draw", G_CALLBACK(OnHintDraw), this);

  form.nativeHandle = reinterpret_cast<std::uintptr_t>(window_);
  form.SetInvalidator([this](const ui::Rect& r) {
    if (area_) gtk_widget_queue_draw_area(area_, r.left, r.top, r.width, r.height);
  });
  form.onClose = [this] {
    if (window_) gtk_widget_destroy(window_);
  };
  form.onEnabledChanged = [this](ui::Control& control) { AnnounceEnabled(accessible_, control); };
  form.hint.SetHost({[this](int ms) { StartHintTimer(ms); }, [this] { StopHintTimer(); },
                     [this](const ui::Control& control) { ShowHint(control); }, [this] { HideHint(); }});

  gtk_widget_realize(window_);
  // A fixed window: moved and closed, never resized, minimised to nothing or maximised.
  gdk_window_set_functions(gtk_widget_get_window(window_), static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  Centre();
  gtk_widget_show_all(window_);
  gtk_main();

  StopHintTimer();
  if (hint_) gtk_widget_destroy(hint_);
  hint_ = nullptr;
  form.SetInvalidator(nullptr);
  form.onClose = nullptr;
  form.onEnabledChanged = nullptr;
  form.hint.SetHost({});
  return 0;
}

gboolean GtkHost::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  auto* host = static_cast<GtkHost*>(self);
  if (!host->trimmed_) {
    // Once the first paint is done, what decoding and resampling freed goes back to the system.
    host->trimmed_ = true;
    g_idle_add([](gpointer) -> gboolean {
      malloc_trim(0);
      return G_SOURCE_REMOVE;
    }, nullptr);
  }
  host->Guarded([&] {
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    const int left = static_cast<int>(std::floor(x1));
    const int top = static_cast<int>(std::floor(y1));
    CairoCanvas canvas(cr, gtk_widget_get_pango_context(host->area_), gtk_widget_get_scale_factor(host->area_));
    host->form_->Paint(canvas, {left, top, static_cast<int>(std::ceil(x2)) - left, static_cast<int>(std::ceil(y2)) - top});
  });
  return TRUE;
}

gboolean GtkHost::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  auto* host = static_cast<GtkHost*>(self);
  host->Guarded([&] {
    host->pointerX_ = static_cast<int>(event->x_root);
    host->pointerY_ = static_cast<int>(event->y_root);
    host->form_->PointerMove({static_cast<int>(std::floor(event->x)), static_cast<int>(std::floor(event->y))});
  });
  return TRUE;
}

gboolean GtkHost::OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self) {
  auto* host = static_cast<GtkHost*>(self);
  if (event->mode != GDK_CROSSING_NORMAL && event->mode != GDK_CROSSING_UNGRAB) return FALSE;
  host->Guarded([&] { host->form_->PointerLeave(); });
  return TRUE;
}

gboolean GtkHost::OnButton(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* host = static_cast<GtkHost*>(self);
  if (event->button != GDK_BUTTON_PRIMARY) return FALSE;
  host->Guarded([&] {
    const ui::Point p{static_cast<int>(std::floor(event->x)), static_cast<int>(std::floor(event->y))};
    switch (event->type) {
      case GDK_BUTTON_PRESS: host->form_->PointerPress(p); break;
      case GDK_2BUTTON_PRESS: host->form_->PointerDoubleClick(p); break;
      case GDK_BUTTON_RELEASE: host->form_->PointerRelease(p); break;
      default: break;
    }
  });
  return TRUE;
}

gboolean GtkHost::OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self) {
  // The first focus, or the first mapping where no window manager hands out focus: once per run.
  auto* host = static_cast<GtkHost*>(self);
  g_idle_add(
      [](gpointer data) -> gboolean {
        auto* h = static_cast<GtkHost*>(data);
        if (h->form_ && h->window_) h->Guarded([&] { h->form_->Activate(); });
        return G_SOURCE_REMOVE;
      },
      host);
  return FALSE;
}

void GtkHost::QueueInvoke(std::size_t spoken) {
  struct Queued {
    GtkHost* host;
    std::size_t spoken;
  };
  g_idle_add(
      [](gpointer data) -> gboolean {
        const Queued queued = *static_cast<Queued*>(data);
        delete static_cast<Queued*>(data);
        GtkHost* h = queued.host;
        if (h->form_ && h->window_ && queued.spoken < h->form_->readingOrder.size())
          h->Guarded([&] { h->form_->Invoke(*h->form_->readingOrder[queued.spoken].control); });
        return G_SOURCE_REMOVE;
      },
      new Queued{this, spoken});
}

void GtkHost::OnDestroy(GtkWidget*, gpointer self) {
  auto* host = static_cast<GtkHost*>(self);
  host->accessible_.form = nullptr;  // a reader still holding the objects finds them gone
  host->window_ = nullptr;
  host->area_ = nullptr;
  host->form_->nativeHandle = 0;
  gtk_main_quit();
}

void GtkHost::StartHintTimer(int ms) {
  StopHintTimer();
  hintTimer_ = g_timeout_add(static_cast<guint>(ms), OnHintTimer, this);
}

void GtkHost::StopHintTimer() {
  if (hintTimer_) g_source_remove(hintTimer_);
  hintTimer_ = 0;
}

gboolean GtkHost::OnHintTimer(gpointer self) {
  auto* host = static_cast<GtkHost*>(self);
  host->hintTimer_ = 0;
  host->Guarded([&] { host->form_->hint.TimerFired(); });
  return G_SOURCE_REMOVE;
}

void GtkHost::ShowHint(const ui::Control& control) {
  if (!hint_) return;
  hintText_ = control.Hint();
  PangoLayout* layout = MakeLayout(measuring_, HintFont(), hintText_);
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  gtk_window_resize(GTK_WINDOW(hint_), width + 8, height + 4);
  // Below the pointer by the pointer's own height.
  const int cursor = static_cast<int>(gdk_display_get_default_cursor_size(gdk_display_get_default()));
  gtk_window_move(GTK_WINDOW(hint_), pointerX_, pointerY_ + cursor);
  gtk_widget_show_all(hint_);
}

void GtkHost::HideHint() {
  if (hint_) gtk_widget_hide(hint_);
}

gboolean GtkHost::OnHintDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
  auto* host = static_cast<GtkHost*>(self);
  const int width = gtk_widget_get_allocated_width(widget);
  const int height = gtk_widget_get_allocated_height(widget);
  SetSource(cr, kHintBackground);
  cairo_paint(cr);
  SetSource(cr, ui::kBlack);
  cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (!host->hintText_.empty()) {
    PangoLayout* layout = MakeLayout(gtk_widget_get_pango_context(widget), HintFont(), host->hintText_);
    cairo_move_to(cr, 4, 2);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
  }
  return TRUE;
}

}  // namespace platform
