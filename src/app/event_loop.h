#pragma once

// Runs the program's one loop until a quit command.
void RunEventLoop();
