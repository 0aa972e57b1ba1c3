// What the processor running this code offers, asked once through CPUID
// (including whether the operating system saves the wider registers).
#pragma once

namespace secure {

bool ProcessorHasSse2();
bool ProcessorHasAvx2();

}  // namespace secure
