#pragma once
// Everything a plug-in uses of the host's database, in one include.

#include "cadhost/sdk/acadstrc.h"
#include "cadhost/sdk/adscodes.h"
#include "cadhost/sdk/dbapserv.h"
#include "cadhost/sdk/dbdatabase.h"
#include "cadhost/sdk/dbents.h"
#include "cadhost/sdk/dbmain.h"
#include "cadhost/sdk/dbsymtb.h"
#include "cadhost/sdk/gegeom.h"
#include "cadhost/sdk/text_metrics.h"
