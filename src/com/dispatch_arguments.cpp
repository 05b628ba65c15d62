#include "com/dispatch_arguments.h"

namespace tarnwell::com {

namespace {

bool is_in_out_variant(const ELEMDESC& parameter) {
    const USHORT in_out = PARAMFLAG_FIN | PARAMFLAG_FOUT;
    return (parameter.paramdesc.wParamFlags & in_out) == in_out && parameter.tdesc.vt == VT_PTR &&
           parameter.tdesc.lptdesc->vt == VT_VARIANT;
}

// The method `member` of the type, or none.
OwnedFuncDesc method(ITypeInfo& info, DISPID member) {
    OwnedTypeAttr attributes(info);
    if (FAILED(info.GetTypeAttr(attributes.put()))) return OwnedFuncDesc(info);
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
        OwnedFuncDesc function(info);
        if (FAILED(info.GetFuncDesc(i, function.put()))) continue;
        if (function->memid == member && function->invkind == INVOKE_FUNC) return function;
    }
    return OwnedFuncDesc(info);
}

}  // namespace

ByValueArguments::ByValueArguments(ITypeInfo& info, DISPID member, WORD flags,
                                   DISPPARAMS* parameters)
    : parameters_(parameters) {
    if (parameters == nullptr || !(flags & DISPATCH_METHOD) || parameters->cNamedArgs != 0) return;
    const OwnedFuncDesc function = method(info, member);
    if (!function) return;
    const UINT count = parameters->cArgs;
    arguments_.assign(parameters->rgvarg, parameters->rgvarg + count);
    copies_ = std::make_unique<OwnedVariant[]>(count);
    bool adapted = false;
    // rgvarg holds the arguments last first.
    for (UINT i = 0; i < count && i < static_cast<UINT>(function->cParams); ++i) {
        VARIANT& argument = arguments_[count - 1 - i];
        if (!is_in_out_variant(function->lprgelemdescParam[i]) || (V_VT(&argument) & VT_BYREF))
            continue;
        VARIANT* copy = copies_[count - 1 - i].get();
        if (FAILED(VariantCopy(copy, &argument))) continue;
        V_VT(&argument) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&argument) = copy;
        adapted = true;
    }
    if (!adapted) return;
    adapted_ = *parameters;
    adapted_.rgvarg = arguments_.data();
    parameters_ = &adapted_;
}

}  // namespace tarnwell::com
