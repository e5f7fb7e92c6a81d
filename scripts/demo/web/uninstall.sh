#!/usr/bin/env bash
# The demonstration web server keeps nothing outside its folders, which the deployer removes.
echo "demonstration web server uninstalled"
