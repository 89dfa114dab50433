#pragma once

// What the user learns of a capture once the tool has ended: the notification of its result,
// and LastSavePath when a file was written.

#include <string>

#include "capture/capture_engine.h"
#include "platform/process_run.h"

// `requested` is the path the tool was asked to write; the tool answers with the path it did
// write when it had to choose another name.
CaptureEnd ReportCaptureOutcome(const ProgramOutcome& tool, const std::string& requested);
