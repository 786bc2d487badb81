// The drawing area's accessible and its link children. Every callback here is ATK's: none throws.
#include "platform/gtk/accessible.h"

#include <gtk/gtk-a11y.h>

namespace platform {

namespace {

struct VantrelArea {
  GtkDrawingArea parent;
  AccessibleModel* model;
};
struct VantrelAreaClass {
  GtkDrawingAreaClass parent;
};

struct VantrelAreaAccessible {
  GtkWidgetAccessible parent;
  AccessibleModel* model;
  GPtrArray* links;  // the children, made when first asked for, each held once
};
struct VantrelAreaAccessibleClass {
  GtkWidgetAccessibleClass parent;
};

struct VantrelLink {
  AtkObject parent;
  AccessibleModel* model;
  guint index;  // place in the reading order
};
struct VantrelLinkClass {
  AtkObjectClass parent;
};

void vantrel_link_component_init(AtkComponentIface* iface);
void vantrel_link_action_init(AtkActionIface* iface);

G_DEFINE_TYPE(VantrelArea, vantrel_area, GTK_TYPE_DRAWING_AREA)
G_DEFINE_TYPE(VantrelAreaAccessible, vantrel_area_accessible, GTK_TYPE_WIDGET_ACCESSIBLE)
G_DEFINE_TYPE_WITH_CODE(VantrelLink, vantrel_link, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, vantrel_link_component_init)
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, vantrel_link_action_init))

// The control a link stands for, while the window is there.
const ui::Form::Spoken* Spoken(VantrelLink* link) {
  const ui::Form* form = link->model ? link->model->form : nullptr;
  if (!form || link->index >= form->readingOrder.size()) return nullptr;
  return &form->readingOrder[link->index];
}

// ----- the area

void vantrel_area_init(VantrelArea* area) { area->model = nullptr; }

void vantrel_area_class_init(VantrelAreaClass* c) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(c), vantrel_area_accessible_get_type());
}

// ----- the area's accessible

void vantrel_area_accessible_init(VantrelAreaAccessible* self) {
  self->model = nullptr;
  self->links = g_ptr_array_new_with_free_func(g_object_unref);
}

void AreaInitialize(AtkObject* object, gpointer widget) {
  ATK_OBJECT_CLASS(vantrel_area_accessible_parent_class)->initialize(object, widget);
  auto* self = reinterpret_cast<VantrelAreaAccessible*>(object);
  self->model = reinterpret_cast<VantrelArea*>(widget)->model;
  if (self->model) self->model->accessible = object;
}

void AreaFinalize(GObject* object) {
  auto* self = reinterpret_cast<VantrelAreaAccessible*>(object);
  if (self->model && self->model->accessible == ATK_OBJECT(object)) self->model->accessible = nullptr;
  g_ptr_array_unref(self->links);
  G_OBJECT_CLASS(vantrel_area_accessible_parent_class)->finalize(object);
}

gint AreaChildCount(AtkObject* object) {
  auto* self = reinterpret_cast<VantrelAreaAccessible*>(object);
  return self->model && self->model->form ? static_cast<gint>(self->model->form->readingOrder.size()) : 0;
}

AtkObject* AreaChild(AtkObject* object, gint i) {
  auto* self = reinterpret_cast<VantrelAreaAccessible*>(object);
  if (i < 0 || i >= AreaChildCount(object)) return nullptr;
  while (self->links->len <= static_cast<guint>(i)) {
    auto* link = static_cast<VantrelLink*>(g_object_new(vantrel_link_get_type(), nullptr));
    link->model = self->model;
    link->index = self->links->len;
    atk_object_set_parent(ATK_OBJECT(link), object);
    g_ptr_array_add(self->links, link);
  }
  return ATK_OBJECT(g_object_ref(g_ptr_array_index(self->links, i)));
}

void vantrel_area_accessible_class_init(VantrelAreaAccessibleClass* c) {
  G_OBJECT_CLASS(c)->finalize = AreaFinalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(c);
  atk->initialize = AreaInitialize;
  atk->get_n_children = AreaChildCount;
  atk->ref_child = AreaChild;
}

// ----- the links

void vantrel_link_init(VantrelLink* link) {
  link->model = nullptr;
  link->index = 0;
  ATK_OBJECT(link)->role = ATK_ROLE_LINK;
}

const gchar* LinkName(AtkObject* object) {
  const ui::Form::Spoken* spoken = Spoken(reinterpret_cast<VantrelLink*>(object));
  return spoken ? spoken->name.c_str() : nullptr;
}

gint LinkIndex(AtkObject* object) { return static_cast<gint>(reinterpret_cast<VantrelLink*>(object)->index); }

AtkStateSet* LinkStates(AtkObject* object) {
  AtkStateSet* states = atk_state_set_new();
  const ui::Form::Spoken* spoken = Spoken(reinterpret_cast<VantrelLink*>(object));
  if (!spoken) {
    atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
    return states;
  }
  atk_state_set_add_state(states, ATK_STATE_VISIBLE);
  atk_state_set_add_state(states, ATK_STATE_SHOWING);
  if (spoken->control->Enabled()) {
    atk_state_set_add_state(states, ATK_STATE_ENABLED);
    atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
  }
  return states;
}

void vantrel_link_class_init(VantrelLinkClass* c) {
  AtkObjectClass* atk = ATK_OBJECT_CLASS(c);
  atk->get_name = LinkName;
  atk->get_index_in_parent = LinkIndex;
  atk->ref_state_set = LinkStates;
}

// The control's current bounds (a bold link's wider ones), from the area's own origin.
void LinkExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coords) {
  *x = *y = *width = *height = -1;
  auto* link = reinterpret_cast<VantrelLink*>(component);
  const ui::Form::Spoken* spoken = Spoken(link);
  GtkWidget* area = link->model->accessible ? gtk_accessible_get_widget(GTK_ACCESSIBLE(link->model->accessible)) : nullptr;
  if (!spoken || !area || !gtk_widget_get_realized(area)) return;
  const ui::Rect& r = spoken->control->Bounds();
  gint left = 0, top = 0;
  if (coords == ATK_XY_SCREEN) {
    gdk_window_get_origin(gtk_widget_get_window(area), &left, &top);
  } else if (coords == ATK_XY_WINDOW) {
    gtk_widget_translate_coordinates(area, gtk_widget_get_toplevel(area), 0, 0, &left, &top);
  }
  *x = left + r.left;
  *y = top + r.top;
  *width = r.width;
  *height = r.height;
}

void vantrel_link_component_init(AtkComponentIface* iface) { iface->get_extents = LinkExtents; }

gint ActionCount(AtkAction*) { return 1; }
const gchar* ActionName(AtkAction*, gint i) { return i == 0 ? "click" : nullptr; }

// A disabled link keeps its action, which does nothing; otherwise the click is queued to the main
// loop, never run inside the reader's call.
gboolean DoAction(AtkAction* action, gint i) {
  auto* link = reinterpret_cast<VantrelLink*>(action);
  const ui::Form::Spoken* spoken = Spoken(link);
  if (i != 0 || !spoken || !spoken->control->Enabled() || !link->model->invoke) return FALSE;
  try {
    link->model->invoke(link->index);
    return TRUE;
  } catch (...) {
    return FALSE;  // nothing could be queued
  }
}

void vantrel_link_action_init(AtkActionIface* iface) {
  iface->get_n_actions = ActionCount;
  iface->get_name = ActionName;
  iface->do_action = DoAction;
}

}  // namespace

GtkWidget* AccessibleAreaNew(AccessibleModel& model) {
  auto* area = static_cast<VantrelArea*>(g_object_new(vantrel_area_get_type(), nullptr));
  area->model = &model;
  return GTK_WIDGET(area);
}

void AnnounceEnabled(AccessibleModel& model, const ui::Control& control) {
  if (!model.accessible || !model.form) return;
  const auto& order = model.form->readingOrder;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (order[i].control != &control) continue;
    AtkObject* link = atk_object_ref_accessible_child(model.accessible, static_cast<gint>(i));
    if (!link) return;
    atk_object_notify_state_change(link, ATK_STATE_ENABLED, control.Enabled());
    atk_object_notify_state_change(link, ATK_STATE_SENSITIVE, control.Enabled());
    g_object_unref(link);
  }
}

}  // namespace platform
