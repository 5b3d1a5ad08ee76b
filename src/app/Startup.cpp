#include "app/Startup.h"

#include "app/AppServices.h"
#include "app/fCover.h"
#include "platform/window/Forms.h"

namespace Startup {

void registerWindows(AppServices& services) {
    services.forms.registerWindow(fCover::kName, [&services](Forms& forms) {
        return std::make_unique<fCover>(forms, services);
    });
}

void start(AppServices& services) {
    services.forms.load(fCover::kName);
}

}  // namespace Startup
