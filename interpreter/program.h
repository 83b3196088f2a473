// The whole run of a program: start-up, the command loop and shut-down.
#pragma once

int tarv_main();
