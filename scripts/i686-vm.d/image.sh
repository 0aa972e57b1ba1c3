# shellcheck shell=bash
# The recipe of the test machine's disk image, sourced by scripts/i686-vm.
# Everything that decides what ends up on the image lives here or in guest/
# (copied onto it): the image is keyed by a hash of these files, so a change
# to any of them builds a new image.
#
# The machine is Debian 12 (amd64) with 32-bit Wine. It boots without
# systemd: the kernel starts guest/qv-init, which runs one job (provision or
# run) and powers the machine off.

image_recipe_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The Debian archive this machine's apt already uses for the release.
image_host_mirror() {
    apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 'Component: main' 2>/dev/null | head -n 1
}
# No security suite: it carries amd64 updates without their i386 twins, and
# multi-arch libraries must have the same version in both architectures.
image_suites=(bookworm bookworm-updates)
image_packages=(
    linux-image-amd64
    wine wine64 wine32:i386
    xvfb xauth
    locales
    fonts-wine fonts-wqy-zenhei
    iproute2
    nginx-light
)
# The root file system's size above what the installed system takes: room
# for the Wine prefix and for what the tests write outside their tmpfs.
image_headroom_mib=1536

# image_build_rootfs <folder>: debootstrap plus the packages, in <folder>.
image_build_rootfs() {
    local root=$1
    local image_mirror
    image_mirror=$(image_host_mirror)
    if [ -z "$image_mirror" ]; then
        echo "i686-vm: apt knows no archive of the release: run apt-get update first" >&2
        return 1
    fi
    debootstrap --variant=minbase --arch=amd64 --components=main \
        "${image_suites[0]}" "$root" "$image_mirror"

    # Kernel file systems for the package scripts; always taken down again,
    # also when a step fails, so that the folder can be removed safely.
    trap "image_unmount_all $(printf %q "$root")" EXIT
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount -t devpts devpts "$root/dev/pts" -o newinstance,ptmxmode=0666

    local suite
    : > "$root/etc/apt/sources.list"
    for suite in "${image_suites[@]}"; do
        echo "deb $image_mirror $suite main" >> "$root/etc/apt/sources.list"
    done
    # No daemon may start inside the chroot.
    printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
    # Documentation is of no use on the machine; it only makes the image larger.
    cat > "$root/etc/dpkg/dpkg.cfg.d/01-no-docs" <<'EOF'
path-exclude=/usr/share/doc/*
path-include=/usr/share/doc/*/copyright
path-exclude=/usr/share/man/*
path-exclude=/usr/share/info/*
EOF
    echo qv-i686 > "$root/etc/hostname"
    printf '127.0.0.1\tlocalhost\n127.0.1.1\tqv-i686\n::1\tlocalhost ip6-localhost ip6-loopback\n' \
        > "$root/etc/hosts"

    chroot "$root" dpkg --add-architecture i386
    # A dropped connection to the mirror is tried again rather than failing the build.
    echo 'Acquire::Retries "3";' > "$root/etc/apt/apt.conf.d/80retries"
    chroot "$root" apt-get update -q
    # libglib2.0-0:i386's postinst runs two i386 cache helpers, which fail
    # with "Exec format error" on a host that runs no 32-bit code; the
    # package's script ignores that itself (the provisioning boot runs the
    # helpers). Any other failing package fails apt-get and so the build.
    chroot "$root" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${image_packages[@]}"
    # Nothing may be left unpacked or half configured.
    local audit
    audit=$(chroot "$root" dpkg --audit)
    if [ -n "$audit" ]; then
        echo "$audit" >&2
        echo "i686-vm: packages left unconfigured in the image" >&2
        return 1
    fi

    # Wine takes the ANSI code page 936 from LC_ALL=zh_CN.UTF-8 and needs
    # the compiled locale to create files with Chinese names.
    chroot "$root" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8

    chroot "$root" apt-get clean
    # The machine has no network: no lists, no name servers of the host.
    rm -rf "$root"/var/lib/apt/lists/* "$root/usr/sbin/policy-rc.d" "$root/etc/resolv.conf"

    install -m 755 "$image_recipe_dir/guest/qv-init" "$root/sbin/qv-init"
    install -d "$root/usr/local/lib/qv" "$root/var/lib/qv"
    install -m 755 "$image_recipe_dir/guest/provision" "$root/usr/local/lib/qv/provision"
    install -m 755 "$image_recipe_dir/../wine-frame-font" "$root/usr/local/lib/qv/wine-frame-font"

    image_unmount_all "$root"
    trap - EXIT
}

# image_unmount_all <folder>: unmounts everything mounted below <folder>,
# deepest first; fails when something stays mounted.
image_unmount_all() {
    local root mounts m
    root=$(realpath "$1")
    mapfile -t mounts < <(awk -v r="$root" '$5 == r || index($5, r "/") == 1 { print $5 }' \
                              /proc/self/mountinfo | sort -r)
    for m in "${mounts[@]}"; do
        umount "$m" 2>/dev/null || umount -l "$m"
    done
    ! awk -v r="$root" '$5 == r || index($5, r "/") == 1 { f = 1 } END { exit !f }' /proc/self/mountinfo
}

# image_make_disk <rootfs> <image folder>: the ext4 root disk, the kernel
# and the initramfs for qemu's -kernel/-initrd.
image_make_disk() {
    local root=$1 out=$2 used_mib kernel initrd
    kernel=$(ls "$root"/boot/vmlinuz-* | sort -V | tail -n 1)
    initrd=$(ls "$root"/boot/initrd.img-* | sort -V | tail -n 1)
    if [ ! -f "$kernel" ] || [ ! -f "$initrd" ]; then
        echo "i686-vm: no kernel or initramfs in the image" >&2
        return 1
    fi
    cp "$kernel" "$out/vmlinuz"
    cp "$initrd" "$out/initrd.img"
    used_mib=$(du -sxm "$root" | cut -f1)
    # mke2fs copies the folder in (owners, modes, links, device nodes): no
    # loop device and no mount needed.
    mke2fs -q -t ext4 -L qv-root -m 0 -d "$root" "$out/root.img" "$((used_mib + image_headroom_mib))M"
}
