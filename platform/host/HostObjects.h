#pragma once
// The COM objects of the host stand-in: views on the nodes of the in-memory
// project (HostNodes.h), all sharing one CHostState. Each creation function
// hands out a new view with one reference.

#include "platform/host/EtsObjectModel.h"
#include "platform/host/HostState.h"

#include <memory>

namespace platform::host {

using HostStatePtr = std::shared_ptr<CHostState>;

HRESULT CreateDatabaseView(const HostStatePtr& pState, IEtsProjectDatabase** pp);
HRESULT CreateProjectView(const HostStatePtr& pState, const std::shared_ptr<HostProject>& pNode, IEtsProject** pp);
HRESULT CreateDeviceView(const HostStatePtr& pState, const std::shared_ptr<HostDevice>& pNode, IEtsDevice** pp);
HRESULT CreateParameterView(const HostStatePtr& pState, const std::shared_ptr<HostParameter>& pNode,
                            IEtsDeviceParameter** pp);
HRESULT CreateCommObjectView(const HostStatePtr& pState, const std::shared_ptr<HostCommObject>& pNode,
                             IEtsCommObject** pp);
HRESULT CreateAssociationView(const HostStatePtr& pState, const std::shared_ptr<HostAssociation>& pNode,
                              IEtsAssociation** pp);
HRESULT CreateMainGroupView(const HostStatePtr& pState, const std::shared_ptr<HostMainGroup>& pNode,
                            IEtsMainGroup** pp);
HRESULT CreateMiddleGroupView(const HostStatePtr& pState, const std::shared_ptr<HostMiddleGroup>& pNode,
                              IEtsMiddleGroup** pp);
HRESULT CreateGroupAddressView(const HostStatePtr& pState, const std::shared_ptr<HostGroupAddress>& pNode,
                               IEtsGroupAddress** pp);

// The project a group address, middle group or main group belongs to.
std::shared_ptr<HostProject> ProjectOf(const HostGroupAddress& node);

// The associations of every device of the group address's project that
// name it, in device and object order.
std::vector<std::shared_ptr<HostAssociation>> ReferringAssociations(const HostGroupAddress& node);

}  // namespace platform::host
