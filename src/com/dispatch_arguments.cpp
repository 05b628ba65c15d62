#include "com/dispatch_arguments.h"

namespace tarnwell::com {

namespace {

bool is_in_out_variant(const ELEMDESC& parameter) {
    const USHORT in_out = PARAMFLAG_FIN | PARAMFLAG_FOUT;
    return (parameter.paramdesc.wParamFlags & in_out) == in_out && parameter.tdesc.vt == VT_PTR &&
           parameter.tdesc.lptdesc->vt == VT_VARIANT;
}

// The method `member` of the type, or null; release it with ReleaseFuncDesc.
FUNCDESC* method(ITypeInfo& info, DISPID member) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(info.GetTypeAttr(&attributes))) return nullptr;
    const WORD count = attributes->cFuncs;
    info.ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info.GetFuncDesc(i, &function))) continue;
        if (function->memid == member && function->invkind == INVOKE_FUNC) return function;
        info.ReleaseFuncDesc(function);
    }
    return nullptr;
}

}  // namespace

ByValueArguments::ByValueArguments(ITypeInfo& info, DISPID member, WORD flags,
                                   DISPPARAMS* parameters)
    : parameters_(parameters) {
    if (parameters == nullptr || !(flags & DISPATCH_METHOD) || parameters->cNamedArgs != 0) return;
    FUNCDESC* function = method(info, member);
    if (function == nullptr) return;
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
    info.ReleaseFuncDesc(function);
    if (!adapted) return;
    adapted_ = *parameters;
    adapted_.rgvarg = arguments_.data();
    parameters_ = &adapted_;
}

}  // namespace tarnwell::com
