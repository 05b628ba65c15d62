#pragma once
// The program-wide store of EPSG definitions that the definitions reader fills.
// (Filled in by the EPSG reader's work.)
namespace tarnwell {
struct EpsgStore {};
}  // namespace tarnwell
