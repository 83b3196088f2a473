// The engine's global settings for a batch run.
#pragma once

// As the interactive programs start (line length 80), without progress
// reports, with the ordering given (1 deg-rev-lex, 0 deg-lex).
void set_engine_defaults(int ordering);
