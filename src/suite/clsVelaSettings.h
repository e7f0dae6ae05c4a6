#pragma once
// placeholder replaced by the settings work
