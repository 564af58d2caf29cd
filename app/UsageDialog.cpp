#include "app/UsageDialog.h"

namespace {

IUsageDialog* s_pUsageDialog = nullptr;

}  // namespace

IUsageDialog* GetUsageDialog()
{
    return s_pUsageDialog;
}

void SetUsageDialog(IUsageDialog* pDialog)
{
    s_pUsageDialog = pDialog;
}
