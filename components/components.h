#pragma once

#include <memory>

#include "components/discbay.h"
#include "components/hublet.h"
#include "components/maskcut.h"
#include "components/nestwell.h"
#include "components/reelkit.h"
#include "components/sonokit.h"

// The outside components in use. One that is absent refuses every call (answers 0).
struct Components {
    std::unique_ptr<ReelkitEngine> reelkit;
    std::unique_ptr<SonokitMixer> sonokit;
    std::unique_ptr<DiscbayDrives> discbay;
    std::unique_ptr<NestwellStore> nestwell;
    std::unique_ptr<MaskcutRegions> maskcut;
    std::unique_ptr<HubletDesktop> hublet;
};
