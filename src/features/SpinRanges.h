#pragma once

namespace qx {

struct FeatureContext;

// Gives every spin of a numeric row the row's limits, with the overrides that follow the
// sensor size, the binning and the gain mode (taken from the table values).
void SetSpinRanges(FeatureContext& context);

// The same walk for the sequencer, taking binning and gain mode from the selections of the
// sequencer binning lists and the gain-mode list instead of the table.
void SetSequencerSpinRanges(FeatureContext& context);

}  // namespace qx
