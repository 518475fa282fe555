// Integer handles of drawings.
//
// Figure code names the drawing it writes into by an int (the host passed the drawing's address
// as an int on a 32-bit platform; an address does not fit an int here). A drawing gets a handle
// the first time one is asked for and keeps it until it is released; a released or unknown
// handle names no drawing, so a stale handle draws nothing instead of writing into freed memory.
// Handles are > 0 and never reused. One thread, as every window call.
#pragma once

class CVdrawUtil;

// The handle of the drawing (given one on first use); 0 for null.
int VdGetDrawingHandle(CVdrawUtil* drawing);
// The drawing of a handle; null when the handle is 0, unknown or released.
CVdrawUtil* VdGetDrawingFromHandle(int handle);
// Forgets the drawing's handle (its owner calls this before the drawing goes).
void VdReleaseDrawingHandle(CVdrawUtil* drawing);
