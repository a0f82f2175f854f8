#pragma once

// Gives the test process a private environment before any Qt application exists: the offscreen
// platform, its own runtime, settings and data folders, and a shell that records instead of
// launching.
void initTestEnvironment();
