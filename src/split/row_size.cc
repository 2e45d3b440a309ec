// Placeholder; filled in by work in progress.
