// The pixels of a layer parameter, checked out at a given time and checked in again when the last
// reference goes.
#pragma once

#include "Time.h"
#include "World.h"

#include "../suites/SuiteTable.h"

#include <memory>

namespace Orvane {

// Lives only behind a std::shared_ptr and is never copied or moved: its `world` points at the layer
// record inside its own `param`.
class ParameterWorld : public World {
public:
    // Throws PF_Err_BAD_CALLBACK_PARAM when the host gave no basic suite.
    explicit ParameterWorld(PF_InData* in_data);
    ~ParameterWorld() override;
    ParameterWorld(ParameterWorld&&) = delete;
    ParameterWorld& operator=(ParameterWorld&&) = delete;

    // `index` must name a layer parameter. Returns the host's result; `world` is set only when the
    // checkout succeeded and yielded pixels. Every successful checkout, with pixels or without, is checked
    // in when the object goes: the host holds it either way.
    PF_Err checkout(PF_ParamIndex index, Time time);

    const PF_ParamDef& parameter() const { return param; }

private:
    void checkin();

    PF_InData* in_data;
    SuiteTable suites;
    PF_ParamDef param;
    bool checkedOut = false;
};

// On success `out` takes the new world (releasing what it held); on failure `out` is left untouched.
PF_Err checkoutParameterWorld(PF_InData* in_data, PF_ParamIndex index, Time time,
                              std::shared_ptr<ParameterWorld>& out);

} // namespace Orvane
