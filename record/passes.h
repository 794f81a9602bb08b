// Where the passes of the tour end. A pass ends on the frame whose advance flips the colour
// scheme; the first pass starts with the splash, the later ones at the first device.
#pragma once

namespace record {

// The number of the frame that ends pass `pass` (1 for the first) of a show started as the program
// starts it, counting frames from 1; -1 when that is beyond the largest frame number an int holds.
int LastFrameOfPass(int pass);

}  // namespace record
