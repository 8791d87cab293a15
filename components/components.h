#pragma once

#include <memory>

#include "components/discbay/discbay.h"
#include "components/hublet/hublet.h"
#include "components/maskcut/maskcut.h"
#include "components/nestwell/nestwell.h"
#include "components/reelkit/reelkit.h"
#include "components/sonokit/sonokit.h"

// The outside components in use; one that is not there is a do-nothing object that refuses
// every call.
struct Components {
    std::unique_ptr<ReelkitEngine> reelkit = std::make_unique<NoEngine>();
    std::unique_ptr<SonokitMixer> sonokit = std::make_unique<NoMixer>();
    std::unique_ptr<DiscbayDrives> discbay = std::make_unique<NoDrives>();
    std::unique_ptr<NestwellStore> nestwell = std::make_unique<NoStore>();
    std::unique_ptr<MaskcutRegions> maskcut = std::make_unique<NoRegions>();
    std::unique_ptr<HubletDesktop> hublet = std::make_unique<NoDesktop>();
};
