#include "settings/settings_record.h"

SettingsRecord Settings;
