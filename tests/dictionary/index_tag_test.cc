// Tests in progress.
