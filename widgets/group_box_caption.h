#pragma once

class QGroupBox;

namespace varelo {

// Draws the group box the way the window layouts were measured: the caption stands
// on the frame's top line, at the left, and the frame's inside starts right under
// it, so a control placed just below the caption is inside the frame and clear of
// both the caption and the line.
void putCaptionOnFrameLine(QGroupBox* box);

}  // namespace varelo
