// The names of the two fields.
#include "settings/number_record.h"

LPCWSTR SettingFieldName(SettingField field) {
    return field == SF_TEXT_MESSAGE ? L"TextMessageTextBox" : L"VoiceMailTextBox";
}
