import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// A caption in small secondary text above an 80-wide picker of two-digit values.
Column {
    id: picker

    property string caption
    property int value
    property var choices: []

    signal chosen(int value)

    spacing: 5

    Label {
        text: picker.caption
        font.family: Theme.fontFamily
        font.pixelSize: Theme.caption2Size
        color: Theme.secondary
    }

    ComboBox {
        id: box

        objectName: "picker"
        width: 80
        implicitHeight: 34
        model: picker.choices
        currentIndex: picker.value
        Accessible.name: picker.caption
        font.family: Theme.monoFontFamily
        font.pixelSize: Theme.bodySize
        opacity: enabled ? 1 : 0.45
        onActivated: index => picker.chosen(index)

        contentItem: Label {
            leftPadding: 12
            text: box.displayText
            font: box.font
            color: Theme.ink
            verticalAlignment: Text.AlignVCenter
        }

        indicator: WindowSymbol {
            x: box.width - width - 10
            anchors.verticalCenter: parent.verticalCenter
            name: "chevron.down"
            size: 10
            lineWidth: 1.6
            color: Theme.secondary
        }

        background: Rectangle {
            radius: 8
            color: box.down ? Qt.rgba(0.20, 0.28, 0.38, 0.08) : "white"
            border.color: box.visualFocus ? Theme.blue : Qt.rgba(0.20, 0.28, 0.38, 0.2)
        }

        popup.height: Math.min(box.popup.contentItem.implicitHeight + 2, 260)
    }
}
