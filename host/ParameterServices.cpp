// The parameter services: add_param into the host's parameter model, and the AEGP suites of the effect's
// objects and streams.
#include "EffectObjects.h"
#include "Host.h"
#include "ParamRegistry.h"
#include "ServeCall.h"
#include "Services.h"

namespace OrvaneHost {

namespace {
PF_Err addParam(PF_ProgPtr effectRef, PF_ParamIndex index, PF_ParamDefPtr def) {
    return serveCall([&](Host& host) { return registerParam(host, effectRef, index, def); });
}
} // namespace

void installParameterServices(Host& host) {
    host.interactCallbacks().add_param = addParam;
    installEffectObjects(host);
}

} // namespace OrvaneHost
