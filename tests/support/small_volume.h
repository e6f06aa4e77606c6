// A small volume for tests of a full disk: a tmpfs of 64 KiB mounted on a new
// folder, by the Unix tools, which Wine starts like any program. Mounting
// needs root and a machine that allows it; elsewhere there is no volume.
#pragma once

#include <string>

class SmallVolume {
public:
    // Makes the folder named name inside the parent folder (which ends with
    // "\") and mounts the volume on it.
    SmallVolume(const std::string& parent, const std::string& name);
    // Unmounts the volume; the folder stays.
    ~SmallVolume();
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool mounted() const { return mounted_; }

private:
    std::string parent_;
    std::string name_;
    bool mounted_;
};
