// The page 税费(现行): the taxes on a second-hand home sale under current
// law, at the rates of the rules document in force. Its controls are the
// main window's (page 7 of the form table); this class binds them with
// typed callbacks, keeps what they hold as CurrentTaxInputs and computes
// from that, so nothing is read back out of the controls.
#pragma once

#include "calc/loans/current_tax.h"
#include "calc/shell/main_controls.h"
#include "calc/shell/page_actions.h"

namespace qh {

class CurrentTaxPage {
public:
    // Binds the page's controls (created already) and fills its rules
    // table with the lines of rules.
    void Bind(MainControls& c, const CurrentTaxRules& rules);

    // The results window's texts for what the page holds now.
    PageResults Results() const;
    const CurrentTaxInputs& Inputs() const { return inputs_; }

private:
    CurrentTaxRules rules_;
    CurrentTaxInputs inputs_;
};

}  // namespace qh
