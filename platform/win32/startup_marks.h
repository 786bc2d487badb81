// The start-up benchmark's marks on Windows: built only with VANTREL_STARTUP_MARKS, never in the
// release.
#pragma once

namespace platform {

// Takes every mark from now on and appends them to the file VANTREL_MARKS names once the tooltip,
// the last step of start-up, is made.
void RecordStartupMarks();

}  // namespace platform
