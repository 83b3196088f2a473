# Sourced by tools/run and tools/test: installs the Debian packages the build
# needs when one of them is missing.
tarv_packages="cmake g++ make libgmp-dev libgtest-dev valgrind"
tarv_install_deps() {
  local missing=""
  for p in $tarv_packages; do
    dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "installing:$missing"
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq && $sudo apt-get install -y -qq $missing
}
