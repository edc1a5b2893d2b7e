// What the panel system does for one element each frame: its variables are looked up again
// through `refresh`, and each axis takes its callback's value, or its variable's where it has no
// callback. The values go to the record and to value[] (needles, icons and strings one axis,
// sliders and moving images two, sprites three). The host's frame and the module-cost benchmark
// both run this, so the benchmark times what the host calls.
#pragma once

#include "module/gauge_records.h"

namespace bench {

template <typename Element, typename Update>
double element_axis(Element* e, Update cb, const MODULE_VAR& source) {
    return cb ? cb(e) : source.var_value.n;
}

template <typename Refresh>
void update_element_values(ELEMENT_HEADER* h, Refresh&& refresh, double value[3]) {
    switch (h->element_type) {
    case ELEMENT_NEEDLE: {
        auto* e = reinterpret_cast<NeedleElement*>(h);
        refresh(e->source_var);
        value[0] = e->value = element_axis(e, e->update_cb, e->source_var);
        break;
    }
    case ELEMENT_STRING: {
        auto* e = reinterpret_cast<StringElement*>(h);
        for (MODULE_VAR& v : e->source_var)
            if (v.id) refresh(v);
        value[0] = element_axis(e, e->update_cb, e->source_var[0]);
        break;
    }
    case ELEMENT_SLIDER: {
        auto* e = reinterpret_cast<SliderElement*>(h);
        refresh(e->source_var_x);
        refresh(e->source_var_y);
        value[0] = e->value_x = element_axis(e, e->update_x_cb, e->source_var_x);
        value[1] = e->value_y = element_axis(e, e->update_y_cb, e->source_var_y);
        break;
    }
    case ELEMENT_ICON: {
        auto* e = reinterpret_cast<IconElement*>(h);
        refresh(e->source_var);
        value[0] = e->value = element_axis(e, e->update_cb, e->source_var);
        break;
    }
    case ELEMENT_MOVING_IMAGE: {
        auto* e = reinterpret_cast<MovingImageElement*>(h);
        refresh(e->source_var_x);
        refresh(e->source_var_y);
        value[0] = e->value_x = element_axis(e, e->update_x_cb, e->source_var_x);
        value[1] = e->value_y = element_axis(e, e->update_y_cb, e->source_var_y);
        break;
    }
    case ELEMENT_SPRITE: {
        auto* e = reinterpret_cast<SpriteElement*>(h);
        refresh(e->source_var_x);
        refresh(e->source_var_y);
        refresh(e->source_var_0);
        value[0] = e->value_x = element_axis(e, e->update_x_cb, e->source_var_x);
        value[1] = e->value_y = element_axis(e, e->update_y_cb, e->source_var_y);
        value[2] = e->value_0 = element_axis(e, e->update_0_cb, e->source_var_0);
        break;
    }
    default:
        break;
    }
}

}  // namespace bench
