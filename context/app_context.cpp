#include "context/app_context.h"

#include <memory>

namespace {
std::unique_ptr<AppContext>& instance()
{
    static std::unique_ptr<AppContext> context = std::make_unique<AppContext>();
    return context;
}
}  // namespace

AppContext& app()
{
    return *instance();
}

void resetApp()
{
    instance() = std::make_unique<AppContext>();
}
