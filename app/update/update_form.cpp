#include "app/update/update_form.h"

namespace vantic {

int EffectiveUpdateOption(int stored) {
    return stored < update_option::kAskEachTime || stored > update_option::kNever
               ? update_option::kAskEachTime
               : stored;
}

int ChosenUpdateOption(const AutoUpdateForm& form) {
    return EffectiveUpdateOption(form.option);
}

}  // namespace vantic
