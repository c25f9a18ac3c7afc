#include "ui/pages/contrepoids/DelayTimeUnit.h"

#include "ui/pages/contrepoids/DelayEditorModel.h"

namespace olvane::ui {

std::int64_t secondsPerUnit(DelayTimeUnit unit) {
    switch (unit) {
        case DelayTimeUnit::minutes:
            return 60;
        case DelayTimeUnit::hours:
            return 3600;
        case DelayTimeUnit::seconds:
            break;
    }
    return 1;
}

std::int64_t largestShownValue(DelayTimeUnit unit) {
    return DelayEditorModel::kMaxSeconds / secondsPerUnit(unit);
}

}  // namespace olvane::ui
