#!/bin/bash
# A Marovink project spread over a Slurm cluster: each array task runs one slice of SIZE tasks.
#   sbatch --array=0-$(( (TASKS + SIZE - 1) / SIZE - 1 ))%8 \
#          --export=ALL,PROJECT=/archive/project.mvk,SIZE=500 scale-out-slurm.sh
# The project, its material, the settings file and the tools must lie at the same paths on every
# node (a shared file system). Each slice writes its own run log beside the project.
#SBATCH --job-name=marovink
#SBATCH --cpus-per-task=2
#SBATCH --output=marovink-slice-%a.out
set -euo pipefail

batch="${MAROVINK_BATCH:-/opt/marovink/marovink-batch}"
project="${PROJECT:?PROJECT must name the project file}"
size="${SIZE:-500}"
first=$((SLURM_ARRAY_TASK_ID * size))
last=$((first + size - 1))

# Exit status 1 (a task reported an error) marks the array task FAILED in sacct; its log says
# which, and a second submission with --failed-from on that log runs only those.
exec "$batch" ${SETTINGS:+--settings "$SETTINGS"} --log "${project%.mvk}.slice-$first-$last.log" \
    --tasks "$first-$last" "$project"
