#pragma once

#include <functional>
#include <string>

#include "explorer/frame.h"
#include "explorer/model_inputs.h"
#include "explorer/options.h"
#include "explorer/view_state.h"

// What the explorer writes without a window: the state the command line
// describes, as a PNG or SVG picture (or a turntable of them) or as an OFF
// model. Pictures other than SVG are drawn by the caller, so this part
// needs no GL and no display.

// The state the options describe on the loaded models: the model --solid or
// --model picks (else the first), the angles, size, shells, dual kind, back
// edges and numbers given, the models' own defaults for the rest. False with
// one line in `error` when --solid is used with OFF files, the directory
// lacks that solid, or --model names no loaded model (the line lists them).
bool stateFromOptions(const ExplorerOptions& options, const LoadedModels& loaded, ViewState& state,
                      std::string& error);

// One OFF file of what `state` shows of `model`, unturned, in the model's
// own coordinates: the solid, its dual (the kind the state asks for, the
// program's when the reciprocal is missing) or both as two shells. False
// with `error` when that leaves nothing: only the dual of a model that is
// not closed.
bool offOfState(const Model& model, const ViewState& state, std::string& text, std::string& error);

// Draws a frame into a picture file at the given path; throws on failure
// with what went wrong (the path is added by the caller).
using PictureWriter = std::function<void(const Frame& frame, const std::string& path)>;

// Writes what the options ask for (options.output is not Window): one
// file, or with --frames N the pictures turned 360/N degrees apart about y
// (or, with --animate unfold, folded open by k / (N - 1)), named by
// frameFileName; or the paper net (net_output.h). PNG pictures go through `writePng`. Every file is
// written under a temporary name and renamed when whole. An output path in
// a missing folder, or naming a folder, is refused before anything is
// drawn. False with one line in `error` naming the file and the problem.
bool writeHeadlessOutput(const ExplorerOptions& options, const LoadedModels& loaded,
                         const PictureWriter& writePng, std::string& error);
