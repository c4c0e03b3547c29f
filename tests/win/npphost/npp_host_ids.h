// Resource ids of the editor test host.
#pragma once

#define QUILLET_HOST_MANIFEST 100
