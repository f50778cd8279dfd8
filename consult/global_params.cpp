#include "consult/global_params.h"

void CGlobalParams::SetDefaults() {
    ShowHypotheses = true;
    ShowCallStack = true;
    ShowNodes = true;
    SaveOnExit = true;
    CreateNewFile = false;
    AutoMaximize = true;
    UseHTML = true;
}

bool CGlobalParams::Load(IOptionStore &store) {
    if (!store.ReadBool(kSaveOnExitKey, "", SaveOnExit)) return false;
    if (!SaveOnExit) {
        // Options saved with "save on exit" off are not used; the defaults
        // switch it on again, so the next exit saves the options.
        SetDefaults();
        return true;
    }
    if (!store.KeyExists(kConsultationKey)) return false;
    if (!store.ReadBool(kConsultationKey, "ShowHypotheses", ShowHypotheses)) return false;
    if (!store.ReadBool(kConsultationKey, "ShowCallStack", ShowCallStack)) return false;
    if (!store.ReadBool(kConsultationKey, "ShowNodes", ShowNodes)) return false;
    if (!store.CreateKey(kGlobalKey)) return false;
    if (!store.ReadBool(kGlobalKey, "CreateNewFile", CreateNewFile)) return false;
    if (!store.ReadBool(kGlobalKey, "AutoMaximize", AutoMaximize)) return false;
    return store.ReadBool(kGlobalKey, "UseHTML", UseHTML);
}

bool CGlobalParams::Save(IOptionStore &store) const {
    if (!store.CreateKey(kRootKey)) return false;
    if (!store.WriteBool(kSaveOnExitKey, "", SaveOnExit)) return false;
    if (!SaveOnExit) return true;
    return store.WriteBool(kConsultationKey, "ShowHypotheses", ShowHypotheses) &&
           store.WriteBool(kConsultationKey, "ShowCallStack", ShowCallStack) &&
           store.WriteBool(kConsultationKey, "ShowNodes", ShowNodes) &&
           store.WriteBool(kGlobalKey, "CreateNewFile", CreateNewFile) &&
           store.WriteBool(kGlobalKey, "AutoMaximize", AutoMaximize) &&
           store.WriteBool(kGlobalKey, "UseHTML", UseHTML);
}

CGlobalParams &GlobalParams() {
    static CGlobalParams record;
    return record;
}
