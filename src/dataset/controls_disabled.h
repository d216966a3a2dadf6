#pragma once
// Display updates of a dataset held for a scope: a walk over the rows (an import, a transfer,
// filling a list) moves the current row without every bound control following each step,
// and the controls catch up once on every way out.
//
//     {
//         ds::ControlsDisabled walking(products);
//         for (products.first(); !products.eof(); products.next()) ...
//     }   // the grid and the editor show where the walk ended
#include "dataset/dataset.h"

namespace qor::ds {

class ControlsDisabled {
public:
    explicit ControlsDisabled(Dataset& dataset) : dataset_(dataset) { dataset_.disableControls(); }
    ~ControlsDisabled() {
        try {
            dataset_.enableControls();
        } catch (...) {
            // A control that cannot show the row now shows it at the dataset's next change.
        }
    }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    Dataset& dataset_;
};

}  // namespace qor::ds
