# Shell helpers that the scripts share. Source it; it defines functions only.

# The median of the numbers given as arguments (the mean of the two middle ones for an
# even count).
median() {
  printf '%s\n' "$@" | grep . | sort -n |
    awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'
}
