#!/usr/bin/env python3
"""Makes a config.xml from `syncthing generate` one of a private pair: 127.0.0.1 only, no
discovery, relays, NAT traversal, usage or crash reports, the peer known by address, one shared
folder rescanned within a second.
Usage: syncthing_config.py CONFIG LISTEN_PORT GUI_PORT FOLDER PEER_ID PEER_PORT"""
import sys
import xml.etree.ElementTree as ET

config, port, gui_port, folder, peer_id, peer_port = sys.argv[1:]
tree = ET.parse(config)
root = tree.getroot()
own = root.find("device")
own.find("address").text = f"tcp://127.0.0.1:{port}"
peer = ET.SubElement(root, "device", id=peer_id, name="peer", compression="metadata")
ET.SubElement(peer, "address").text = f"tcp://127.0.0.1:{peer_port}"
root.find("gui/address").text = f"127.0.0.1:{gui_port}"
off = ("globalAnnounceEnabled", "localAnnounceEnabled", "relaysEnabled", "natEnabled", "crashReportingEnabled",
       "startBrowser", "setLowPriority")
for name, value in {"listenAddress": f"tcp://127.0.0.1:{port}", "urAccepted": "-1", "autoUpgradeIntervalH": "0",
                    "minHomeDiskFree": "0", "reconnectionIntervalS": "2", **dict.fromkeys(off, "false")}.items():
    root.find(f"options/{name}").text = value
shared = ET.Element("folder", id="quippet", path=folder, type="sendreceive", rescanIntervalS="5",
                    fsWatcherEnabled="true", fsWatcherDelayS="1")
for device in (own.get("id"), peer_id):
    ET.SubElement(shared, "device", id=device)
ET.SubElement(shared, "minDiskFree", unit="%").text = "0"
root.insert(0, shared)
tree.write(config)
