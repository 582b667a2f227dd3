#pragma once

// Qt and the picture libraries below it warn on the terminal about things that are no
// failure of ours: a damaged but readable picture, an odd colour profile, a missing runtime
// folder. The program tells each of its failures itself, in one line or one box, and says
// nothing on success, so these warnings are kept off the terminal; serious messages still
// reach it. A developer gets them back with the environment variable QT_LOGGING_RULES (for
// example "*.warning=true"), whose rules take precedence. Call before anything is loaded.
void KeepLibraryWarningsOffTheTerminal();
