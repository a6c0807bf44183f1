#!/usr/bin/python3
"""A folder served through FUSE whose writes can be made to hang, as a network share or a
failing USB disk does.

    hanging_fs.py BACKING MOUNTPOINT HOLD

Serves BACKING at MOUNTPOINT in the foreground until unmounted. While the file HOLD exists,
every write and sync waits for it to go; everything else answers at once.
"""

import errno
import os
import sys
import time

import fusepy


class HangingFolder(fusepy.Operations):
    def __init__(self, backing, hold):
        self.backing = backing
        self.hold = hold

    def _path(self, path):
        return os.path.join(self.backing, path.lstrip("/"))

    def _wait_while_held(self):
        while os.path.exists(self.hold):
            time.sleep(0.05)

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self._path(path))
        except OSError as error:
            raise fusepy.FuseOSError(error.errno)
        return {key: getattr(st, key) for key in (
            "st_mode", "st_nlink", "st_size", "st_uid", "st_gid",
            "st_atime", "st_mtime", "st_ctime")}

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._path(path))

    def access(self, path, amode):
        if not os.access(self._path(path), amode):
            raise fusepy.FuseOSError(errno.EACCES)

    def open(self, path, flags):
        return os.open(self._path(path), flags)

    def create(self, path, mode, fi=None):
        return os.open(self._path(path), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        self._wait_while_held()
        return os.pwrite(fh, data, offset)

    def truncate(self, path, length, fh=None):
        os.truncate(self._path(path), length)

    def fsync(self, path, datasync, fh):
        self._wait_while_held()
        os.fsync(fh)

    def flush(self, path, fh):
        return 0

    def release(self, path, fh):
        os.close(fh)

    def unlink(self, path):
        os.unlink(self._path(path))

    def mkdir(self, path, mode):
        os.mkdir(self._path(path), mode)

    def rename(self, old, new):
        os.rename(self._path(old), self._path(new))

    def chmod(self, path, mode):
        os.chmod(self._path(path), mode)

    def utimens(self, path, times=None):
        os.utime(self._path(path), times)

    def statfs(self, path):
        st = os.statvfs(self._path(path))
        return {key: getattr(st, key) for key in (
            "f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree",
            "f_files", "f_flag", "f_frsize", "f_namemax")}


if __name__ == "__main__":
    backing, mountpoint, hold = sys.argv[1:4]
    fusepy.FUSE(HangingFolder(os.path.abspath(backing), os.path.abspath(hold)), mountpoint,
                foreground=True, nothreads=False)
