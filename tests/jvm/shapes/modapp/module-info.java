// A named module whose jar's descriptor names its main class.
module modapp {
}
