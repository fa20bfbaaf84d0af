// The sweep of the cutting hyperplane through the model (the key "t"): from
// where it first touches the model to where it leaves, a step at the pace of
// a held rotation button, then back to where it was.
#pragma once

namespace fourview {

constexpr int kSweepSteps = 60;
constexpr int kSweepStepMilliseconds = 50;  // the held button's cadence

// The section offset that puts the cut at `level` of the transformed space
// (the inverse of section_level).
double offset_for_level(double level);

// The offsets of the first and last step for the current model, or false
// when its extent is not known or has no thickness.
bool sweep_range(double& low_offset, double& high_offset);

void start_sweep();
bool sweep_running();
// Stops a running sweep and puts the hyperplane back where it was.
void stop_sweep();

}  // namespace fourview
