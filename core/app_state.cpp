// The process-wide AppState record and its start values.
#include "core/app_state.h"

namespace {

AppStateRecord StartValues() {
    AppStateRecord s{};
    s.nTitleHeight = 30;
    s.nScale = 1;
    s.dwSysLang = 1033;
    return s;
}

}  // namespace

AppStateRecord AppState = StartValues();

void ResetAppState() { AppState = StartValues(); }
