#!/usr/bin/env bash
# Sourced inside a fresh network namespace made by `unshare -n`: brings up lo
# and a veth pair (198.18.0.1 for the tools, 198.18.0.2..9 for simulated
# units), so broadcasts reach the simulated units and never leave the
# namespace. Refuses to touch a namespace that has other interfaces.
if ip -o link show | grep -vqE ': (lo)[:@]'; then
  echo "netns-setup: not a fresh network namespace, refusing to configure it" >&2
  exit 1
fi
ip link set lo up
# The tool's side gets the lower interface index: interface lists (and so
# KorvantisSetup's choice of its first entry) follow that index, and the
# tool must bind 198.18.0.1, not a unit's address. Without explicit indices
# the kernel numbers the peer first.
ip link add name kvt-tool index 2 type veth peer name kvt-unit index 3
ip addr add 198.18.0.1/24 dev kvt-tool
for n in 2 3 4 5 6 7 8 9; do
  ip addr add 198.18.0.$n/24 dev kvt-unit
done
ip link set kvt-tool up
ip link set kvt-unit up
# Limited broadcasts (255.255.255.255) leave by the tool's side of the pair.
ip route add default dev kvt-tool
export KORVANTIS_TEST_NETNS=1
