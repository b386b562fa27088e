#pragma once

namespace verbanta {
struct AppSettings;
class KeyValueStore;
class Messenger;
}  // namespace verbanta

namespace verbanta::app {

/// What the application object hands to its main window: the one options record, the
/// settings store and the way messages are shown.
struct AppContext {
    AppSettings& settings;
    KeyValueStore& store;
    Messenger& messenger;
};

}  // namespace verbanta::app
