#pragma once

// Caps what the helper may take, before it reads a byte of the file: a
// drawing library that runs away on a hostile file then fails inside the
// helper instead of taking the machine's memory, and a helper whose program
// is gone and no longer stops it ends on its own.
void LimitHelperResources();
