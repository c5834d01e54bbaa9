#pragma once

#include <functional>
#include <string>

#include "base/result.h"

#include "explorer/frame.h"
#include "explorer/model_inputs.h"
#include "explorer/options.h"
#include "explorer/view_state.h"

// What the explorer writes without a window: the state the command line
// describes, as a PNG or SVG picture (or a turntable of them) or as an OFF
// model. Pictures other than SVG are drawn by the caller, so this part
// needs no GL and no display.

// The state the options describe on the loaded models: the model --solid or
// --model picks (a model's name, or for the ten files also its English name,
// "cube"; else the first), the angles (on a turntable: the camera raised
// by A, the model turned by B about its up axis), size, shells, dual kind,
// back edges, faces, numbers and print settings given, the models' own
// defaults for the rest. An error when --solid is used with OFF files, the
// directory lacks that solid, --model names no loaded model (the message
// lists them), or nothing is loaded.
Result<ViewState> stateFromOptions(const ExplorerOptions& options, const LoadedModels& loaded);

// One OFF file of what `state` shows of `model`, unturned, in the model's
// own coordinates: the solid, its dual (the kind the state asks for, the
// program's when the reciprocal is missing) or both as two shells. An
// error when that leaves nothing (only the dual of a model that is not
// closed), or when a shell holds what an OFF reader refuses (a flat
// model's dual has faces of two corners): nothing of it is written then.
Result<std::string> offOfState(const Model& model, const ViewState& state);

// The --info text of the model the options pick: one line each for the
// solid, its dual and (with --morph T, T > 0) the morph, each ending in a
// line break (see MorphStore::countLines). An error when stateFromOptions
// fails or the model has no morph.
Result<std::string> infoText(const ExplorerOptions& options, const LoadedModels& loaded);

// Draws a frame as a PNG picture into the open descriptor fd; an error
// says what went wrong (the path is added by the caller).
using PictureWriter = std::function<Status(const Frame& frame, int fd)>;

// Writes what the options ask for (options.output is not Window): one
// file ("-": standard output), or with --frames N the pictures turned
// 360/N degrees apart about y (with --animate morph the stage t = k / (N -
// 1) for picture k instead, N = 1 giving t = 0; with both, the two), named
// by frameFileName. With t > 0 the morph's stage M(t) takes the solid's
// place (see buildFrame); the OFF file then holds M(t) and its own
// reciprocal dual as --show asks; a model without a morph is refused before
// anything is written. PNG pictures go
// through `writePng`. Every file is written by writeOutputFile
// (output_file.h). An output it would refuse is refused before anything
// is drawn; so are frames whose first name is taken, unless
// options.overwrite. A turntable failing part-way removes the pictures it
// wrote. An error naming the file and the problem.
Status writeHeadlessOutput(const ExplorerOptions& options, const LoadedModels& loaded,
                           const PictureWriter& writePng);
