#pragma once

#include "app_context.h"
#include "settings/app_settings.h"
#include "settings/memory_key_value_store.h"
#include "support/recording_messenger.h"

namespace verbanta::test {

/// Options, a store held in memory and a messenger that records, for one main window.
struct TestContext {
    AppSettings settings;
    MemoryKeyValueStore store;
    RecordingMessenger messenger;
    app::AppContext context{settings, store, messenger};
};

}  // namespace verbanta::test
