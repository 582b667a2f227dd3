#pragma once

#include "desktop/CursorLoader.h"
#include "platform/Dialogs.h"
#include "platform/MessageSink.h"
#include "platform/PictureLoader.h"
#include "platform/Places.h"
#include "platform/RandomSource.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

// Everything through which the main window reaches outside itself, one role each. The window
// gets one Platform; the routines below it take only the role they need, so a test hands them
// a fake that records what would have been shown or opened.
class Platform : public MessageSink,
                 public Dialogs,
                 public Shell,
                 public Places,
                 public RandomSource,
                 public SettingsStore,
                 public PictureLoader,
                 public CursorLoader {};
