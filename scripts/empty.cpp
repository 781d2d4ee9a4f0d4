// Placeholder so an empty folder still forms a library.
