#pragma once
// Everything an application uses of the host, in one include: the database (cadhost.h), the
// editor functions, selection and placement, documents, the command stack and the dynamic
// linker.

#include "cadhost/sdk/accmd.h"
#include "cadhost/sdk/acdocman.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/adsdef.h"
#include "cadhost/sdk/cadhost.h"
#include "cadhost/sdk/dbxutil.h"
#include "cadhost/sdk/rxdefs.h"
#include "cadhost/sdk/rxregsvc.h"
