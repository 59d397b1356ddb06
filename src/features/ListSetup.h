#pragma once

namespace qx {

struct FeatureContext;

// Gives every feature list its item values and positions it from the table: binning lists by
// value minus one, the others by the item carrying the value. Then refills the sequencer
// binning lists and selects them from the camera's entry shown in the sequencer index field.
void SetUpListValues(FeatureContext& context);

// Camera Link configuration, sensor clock and pixel format lists from the main window's
// fields; the pixel format offers RGB10 and RGB12 only with the "Medium" configuration.
void RefillCameraLinkLists(FeatureContext& context);

// Adapts the pages to the identified model: model list selection, colour controls, multi-ROI
// enables, the test-pattern and shading lists, and the LUT point index spins.
void ApplyModelDependentSetup(FeatureContext& context);

}  // namespace qx
