# A signed apt repository of the packages, for `. scripts/lib/apt-repository.sh`.
#
# write_apt_repository DIST: puts the .deb files of DIST into the flat
# repository DIST/apt (Packages, Packages.gz, Release, InRelease,
# Release.gpg) signed with the repository key, and exports that key's
# public half as DIST/apt/vantic-archive-keyring.gpg for `signed-by=`.
#
# The key lives outside the tree, in $VANTIC_APT_KEY_DIR (default
# ${XDG_DATA_HOME:-~/.local/share}/vantic-packaging), a GnuPG home made on
# first use with a new key and kept: every later repository is signed with
# the same key, so machines that trust it once take every later version.

apt_key_dir() {
    echo "${VANTIC_APT_KEY_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/vantic-packaging}"
}

# The repository key, made when there is none yet; prints its fingerprint.
apt_signing_key() {
    local home
    home=$(apt_key_dir)/gnupg
    mkdir -p "$home"
    chmod 700 "$(apt_key_dir)" "$home"
    if ! GNUPGHOME=$home gpg --batch --list-secret-keys --with-colons 2>/dev/null | grep -q '^sec'; then
        echo "package: making the apt repository key in $home" >&2
        GNUPGHOME=$home gpg --batch --quiet --passphrase '' --quick-generate-key \
            "Vantic Controller packages <vantic@example.com>" rsa3072 sign never >&2
    fi
    GNUPGHOME=$home gpg --batch --list-secret-keys --with-colons 2>/dev/null | awk -F: '$1 == "fpr" { print $10; exit }'
}

# One checksum section of Release for the files given.
apt_release_sums() {
    local title=$1 tool=$2
    shift 2
    echo "$title:"
    for file in "$@"; do
        printf ' %s %s %s\n' "$($tool "$file" | cut -d' ' -f1)" "$(stat -c %s "$file")" "$file"
    done
}

write_apt_repository() {
    local dist=$1 repo=$1/apt fingerprint home
    fingerprint=$(apt_signing_key)
    home=$(apt_key_dir)/gnupg
    rm -rf "$repo"
    mkdir -p "$repo"
    cp "$dist"/vantic-controller_*.deb "$dist"/vantic-server_*.deb "$repo/"
    (
        cd "$repo"
        dpkg-scanpackages --multiversion . /dev/null 2>/dev/null >Packages
        gzip -9nk Packages
        {
            echo "Origin: Vantic"
            echo "Label: Vantic Controller"
            echo "Suite: stable"
            echo "Codename: vantic"
            echo "Date: $(LC_ALL=C date -u '+%a, %d %b %Y %H:%M:%S UTC')"
            echo "Architectures: $(dpkg --print-architecture) all"
            echo "Description: Vantic Controller and its reference server"
            apt_release_sums MD5Sum md5sum Packages Packages.gz
            apt_release_sums SHA256 sha256sum Packages Packages.gz
        } >Release
        GNUPGHOME=$home gpg --batch --yes --quiet --local-user "$fingerprint" --clearsign \
            --output InRelease Release
        GNUPGHOME=$home gpg --batch --yes --quiet --local-user "$fingerprint" --armor \
            --detach-sign --output Release.gpg Release
        GNUPGHOME=$home gpg --batch --yes --export "$fingerprint" >vantic-archive-keyring.gpg
    )
    echo "$repo"
}
