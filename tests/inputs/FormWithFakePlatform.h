#pragma once

#include "app/Form1.h"
#include "app/StoreFixture.h"

#include <memory>

// The main window on a faked platform over an empty settings store, so that a test can tell
// which keys a command wrote.
class FormWithFakePlatform : public StoreFixture {
protected:
    std::unique_ptr<Form1> form = std::make_unique<Form1>(platform);
};
